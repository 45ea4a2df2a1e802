// The front's table of browser sessions. Each live session has a worker process; one thread (the
// front's main thread) starts, reaps and ends them all, so that every worker's parent-death signal
// is tied to a thread that lives as long as the front. HTTP threads forward requests to a
// session's worker one at a time, and ask the table thread for new sessions.
#include "hosts/web/ward.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/random.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <iostream>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto workerAnswerWait = std::chrono::seconds(20);   // the bridge itself gives up after 15 s
constexpr auto termWait = std::chrono::seconds(3);            // from SIGTERM to SIGKILL
constexpr auto tick = std::chrono::milliseconds(100);

struct Session {
    pid_t pid = 0;
    int fd = -1;
    bool crashed = false;
    bool ending = false;           // SIGTERM sent; the entry goes when the worker is reaped
    Clock::time_point endingSince;
    Clock::time_point lastUsed;
    std::mutex io;                 // one request at a time on the channel
    long nextRequest = 1;
    ~Session()
    {
        if (fd >= 0)
            close(fd);
    }
};

struct SpawnAsk {
    bool done = false;
    int status = 0;
    std::string id, why;
};

struct Table {
    std::mutex mutex;
    std::condition_variable wake, spawned;
    std::map<std::string, std::shared_ptr<Session>> sessions;
    std::deque<std::shared_ptr<SpawnAsk>> asks;
    WebSessionOptions options;
    bool stopping = false;
};

Table& table()
{
    static Table t;
    return t;
}

std::string randomId()
{
    unsigned char bytes[16];
    std::size_t got = 0;
    while (got < sizeof bytes) {
        ssize_t n = getrandom(bytes + got, sizeof bytes - got, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return "";
        got += std::size_t(n);
    }
    static const char hex[] = "0123456789abcdef";
    std::string id;
    for (unsigned char b : bytes) {
        id.push_back(hex[b >> 4]);
        id.push_back(hex[b & 15]);
    }
    return id;
}

std::size_t liveCount(const Table& t)
{
    std::size_t n = 0;
    for (const auto& [id, s] : t.sessions)
        n += s->pid != 0;
    return n;
}

// On the table thread, with the lock held.
void spawn(Table& t, SpawnAsk* ask)
{
    if (liveCount(t) >= t.options.maxSessions) {
        ask->status = 503;
        ask->why = "Zura is already serving as many sessions as this server allows (" +
                   std::to_string(t.options.maxSessions) +
                   "). Please try again in a few minutes, or finish a session that is open on another screen.";
        return;
    }
    std::string id = randomId();
    int pair[2];
    if (id.empty() || t.sessions.count(id) || socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) {
        ask->status = 500;
        ask->why = "Zura could not start a session for you. Please try again.";
        return;
    }
    std::string front = std::to_string(getpid()), grace = std::to_string(t.options.endedGrace.count());
    const char* argv[] = {t.options.self.c_str(), "--worker", "3", front.c_str(), grace.c_str(), nullptr};
    pid_t pid = fork();
    if (pid == 0) {
        // Only what is safe after a fork in a threaded process, until the exec.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (dup2(pair[1], 3) < 0)
            _exit(127);
        syscall(SYS_close_range, 4u, ~0u, 0u);   // the listening socket and clients' connections stay here
        execv(argv[0], const_cast<char* const*>(argv));
        _exit(127);
    }
    close(pair[1]);
    if (pid < 0) {
        close(pair[0]);
        ask->status = 500;
        ask->why = "Zura could not start a session for you. Please try again.";
        return;
    }
    auto s = std::make_shared<Session>();
    s->pid = pid;
    s->fd = pair[0];
    s->lastUsed = Clock::now();
    t.sessions[id] = s;
    ask->status = 200;
    ask->id = id;
}

void endWorker(Session& s)
{
    if (s.pid && !s.ending) {
        kill(s.pid, SIGTERM);
        s.ending = true;
        s.endingSince = Clock::now();
    }
}

// On the table thread, with the lock held: the workers that have gone.
void reap(Table& t)
{
    int status = 0;
    pid_t pid;
    while ((pid = waitpid(-1, &status, WNOHANG)) > 0) {
        for (auto it = t.sessions.begin(); it != t.sessions.end(); ++it) {
            Session& s = *it->second;
            if (s.pid != pid)
                continue;
            s.pid = 0;
            bool clean = WIFEXITED(status) && WEXITSTATUS(status) == 0;
            if (s.ending || clean) {
                t.sessions.erase(it);
            } else {
                s.crashed = true;
                s.lastUsed = Clock::now();
                std::cerr << "zura-web: the program of a session stopped ("
                          << (WIFSIGNALED(status) ? std::string("signal ") + std::to_string(WTERMSIG(status))
                                                  : "status " + std::to_string(WEXITSTATUS(status)))
                          << "); that session is offered a fresh start, no other is touched" << std::endl;
            }
            break;
        }
    }
}

void expire(Table& t)
{
    Clock::time_point now = Clock::now();
    for (auto it = t.sessions.begin(); it != t.sessions.end();) {
        Session& s = *it->second;
        if (s.pid == 0 && now - s.lastUsed > t.options.idle) {
            it = t.sessions.erase(it);
            continue;
        }
        if (s.pid && !s.ending && now - s.lastUsed > t.options.idle)
            endWorker(s);
        if (s.pid && s.ending && now - s.endingSince > termWait)
            kill(s.pid, SIGKILL);
        ++it;
    }
}

std::shared_ptr<Session> find(const std::string& id, bool use)
{
    Table& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    auto it = t.sessions.find(id);
    if (it == t.sessions.end() || it->second->ending)
        return nullptr;
    if (use)
        it->second->lastUsed = Clock::now();
    return it->second;
}

WebReply gone(bool crashed)
{
    nlohmann::json j = {{"startAgain", true},
                        {"error", crashed ? "The program of this session stopped unexpectedly. Start again to go on."
                                          : "This session has ended. Start again to go on."}};
    return WebReply{crashed ? 502 : 410, j.dump()};
}

}  // namespace

bool webSessionIdValid(const std::string& id)
{
    return id.size() == 32 && id.find_first_not_of("0123456789abcdef") == std::string::npos;
}

std::string webSessionCookieId(const std::string& header)
{
    static const std::string name = "zura-session=";
    for (std::size_t at = header.find(name); at != std::string::npos; at = header.find(name, at + 1)) {
        if (at > 0 && header[at - 1] != ' ' && header[at - 1] != ';')
            continue;
        std::string value = header.substr(at + name.size(), 32);
        std::size_t end = at + name.size() + 32;
        if (webSessionIdValid(value) && (end == header.size() || header[end] == ';'))
            return value;
    }
    return "";
}

void webSessionsConfigure(const WebSessionOptions& options)
{
    table().options = options;
}

void webSessionsRun()
{
    Table& t = table();
    std::unique_lock<std::mutex> lock(t.mutex);
    while (!t.stopping) {
        while (!t.asks.empty()) {
            spawn(t, t.asks.front().get());
            t.asks.front()->done = true;
            t.asks.pop_front();
            t.spawned.notify_all();
        }
        reap(t);
        expire(t);
        t.wake.wait_for(lock, tick);
    }
    for (auto& ask : t.asks) {
        ask->done = true;
        ask->status = 503;
        ask->why = "Zura is stopping.";
    }
    t.asks.clear();
    t.spawned.notify_all();
    for (auto& [id, s] : t.sessions)
        endWorker(*s);
    Clock::time_point since = Clock::now();
    while (liveCount(t) > 0) {
        if (Clock::now() - since > termWait)
            for (auto& [id, s] : t.sessions)
                if (s->pid)
                    kill(s->pid, SIGKILL);
        reap(t);
        lock.unlock();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        lock.lock();
    }
    t.sessions.clear();
}

void webSessionsStop()
{
    Table& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    t.stopping = true;
    t.wake.notify_all();
}

std::string webSessionCreate(int* status, std::string* why)
{
    Table& t = table();
    auto ask = std::make_shared<SpawnAsk>();
    std::unique_lock<std::mutex> lock(t.mutex);
    if (t.stopping) {
        *status = 503;
        *why = "Zura is stopping.";
        return "";
    }
    t.asks.push_back(ask);
    t.wake.notify_all();
    t.spawned.wait(lock, [&] { return ask->done; });
    *status = ask->status;
    *why = ask->why;
    return ask->id;
}

WebSessionState webSessionState(const std::string& id)
{
    std::shared_ptr<Session> s = find(id, true);
    if (!s)
        return WebSessionState::Unknown;
    std::lock_guard<std::mutex> lock(table().mutex);
    return s->crashed ? WebSessionState::Crashed : WebSessionState::Live;
}

void webSessionEnd(const std::string& id)
{
    Table& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    auto it = t.sessions.find(id);
    if (it == t.sessions.end())
        return;
    if (it->second->pid)
        endWorker(*it->second);
    else
        t.sessions.erase(it);
}

WebReply webSessionCall(const std::string& id, nlohmann::json request)
{
    std::shared_ptr<Session> s = find(id, true);
    if (!s)
        return gone(false);
    std::lock_guard<std::mutex> io(s->io);
    {
        std::lock_guard<std::mutex> lock(table().mutex);
        if (s->crashed)
            return gone(true);
    }
    long number = s->nextRequest++;
    request["id"] = number;
    Clock::time_point deadline = Clock::now() + workerAnswerWait;
    if (channelSend(s->fd, request.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace))) {
        std::string message;
        int r;
        while ((r = channelReceive(s->fd, &message, deadline)) == 1) {
            nlohmann::json reply = nlohmann::json::parse(message, nullptr, false);
            if (!reply.is_object() || reply.value("id", 0L) != number)
                continue;   // the answer to a request that was given up on
            if (!reply["status"].is_number_integer() || !reply["type"].is_string() || !reply["body"].is_string())
                break;
            return WebReply{reply["status"].get<int>(), reply["body"].get<std::string>(), reply["type"].get<std::string>()};
        }
        if (r == 0)
            return WebReply{503, R"({"error":"the program did not answer in time; try again"})"};
    }
    // The worker has gone: the table thread reaps it and finds why.
    std::lock_guard<std::mutex> lock(table().mutex);
    s->crashed = true;
    return gone(true);
}
