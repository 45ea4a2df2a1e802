// The bridge between the HTTP thread and the program thread. The program thread is the only one
// that touches the window system: whenever the program waits for the user it publishes the
// screen (answering the action it last carried out), then blocks until the page sends another
// action or the run stops. The HTTP thread only queues actions and waits, bounded, for answers.
#include "hosts/web/bridge.h"
#include "hosts/web/web.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <set>

namespace {

constexpr auto answerWait = std::chrono::seconds(15);

struct Ticket {
    long id;
    nlohmann::json action;
};

struct Bridge {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Ticket> queue;
    long nextTicket = 1;
    std::map<long, WebReply> answers;
    std::set<long> abandoned;     // tickets whose asker stopped waiting
    long awaiting = 0;            // the ticket the program is carrying out
    nlohmann::json screen;        // the latest screen, with "seq" and "ended"
    long seq = 0;
    bool ended = false, stopping = false, restart = false;
};

Bridge& bridge()
{
    static Bridge b;
    return b;
}

std::string dump(const nlohmann::json& j)
{
    return j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string errorBody(const std::string& error, const nlohmann::json& screen)
{
    nlohmann::json j;
    j["error"] = error;
    if (!screen.is_null())
        j["screen"] = screen;
    return dump(j);
}

// With the lock held.
void answer(Bridge& b, long ticket, WebReply reply)
{
    if (b.abandoned.erase(ticket))
        return;
    b.answers[ticket] = std::move(reply);
}

void publish(Bridge& b, nlohmann::json screen, bool ended)
{
    screen["seq"] = ++b.seq;
    screen["ended"] = ended;
    b.screen = std::move(screen);
    b.ended = ended;
    if (b.awaiting) {
        answer(b, b.awaiting, WebReply{200, dump(b.screen)});
        b.awaiting = 0;
    }
    b.changed.notify_all();
}

// Waits for the answer to a ticket; on timeout the ticket is withdrawn or abandoned.
WebReply awaitAnswer(Bridge& b, std::unique_lock<std::mutex>& lock, long ticket)
{
    bool got = b.changed.wait_for(lock, answerWait, [&] { return b.answers.count(ticket) || b.stopping; });
    if (got && b.answers.count(ticket)) {
        WebReply reply = std::move(b.answers[ticket]);
        b.answers.erase(ticket);
        return reply;
    }
    bool queued = false;
    for (auto it = b.queue.begin(); it != b.queue.end(); ++it)
        if (it->id == ticket) {
            b.queue.erase(it);
            queued = true;
            break;
        }
    if (!queued)
        b.abandoned.insert(ticket);
    return WebReply{503, errorBody(b.stopping ? "the server is stopping" : "the program did not answer in time", b.screen)};
}

}  // namespace

WebReply bridgeAct(const nlohmann::json& action)
{
    Bridge& b = bridge();
    std::unique_lock<std::mutex> lock(b.mutex);
    if (b.stopping)
        return WebReply{503, errorBody("the server is stopping", b.screen)};
    if (b.ended)
        return WebReply{409, errorBody("the program has ended", b.screen)};
    long ticket = b.nextTicket++;
    b.queue.push_back(Ticket{ticket, action});
    b.changed.notify_all();
    return awaitAnswer(b, lock, ticket);
}

WebReply bridgeScreen()
{
    Bridge& b = bridge();
    std::unique_lock<std::mutex> lock(b.mutex);
    b.changed.wait_for(lock, answerWait, [&] { return b.seq > 0 || b.stopping; });
    if (b.seq == 0)
        return WebReply{503, errorBody("the program has not started", nullptr)};
    return WebReply{200, dump(b.screen)};
}

WebReply bridgeRestart()
{
    Bridge& b = bridge();
    std::unique_lock<std::mutex> lock(b.mutex);
    if (!b.ended)
        return WebReply{409, errorBody("the program is running", b.screen)};
    b.restart = true;
    long before = b.seq;
    b.changed.notify_all();
    b.changed.wait_for(lock, answerWait, [&] { return b.seq > before || b.stopping; });
    if (b.seq == before)
        return WebReply{503, errorBody("the program did not start in time", b.screen)};
    return WebReply{200, dump(b.screen)};
}

void bridgeStop()
{
    Bridge& b = bridge();
    std::lock_guard<std::mutex> lock(b.mutex);
    b.stopping = true;
    b.changed.notify_all();
}

bool bridgeStopping()
{
    Bridge& b = bridge();
    std::lock_guard<std::mutex> lock(b.mutex);
    return b.stopping;
}

bool bridgeNextActions(void*)
{
    Bridge& b = bridge();
    nlohmann::json screen = webScreen();
    std::unique_lock<std::mutex> lock(b.mutex);
    publish(b, std::move(screen), false);
    for (;;) {
        b.changed.wait(lock, [&] { return b.stopping || !b.queue.empty(); });
        if (b.stopping)
            return false;
        Ticket t = std::move(b.queue.front());
        b.queue.pop_front();
        long shown = b.seq;
        lock.unlock();
        std::string error;
        int status = 409;
        if (t.action.contains("seq") && !(t.action["seq"].is_number_integer() && t.action["seq"].get<long>() == shown))
            error = "the screen has changed since";
        else
            status = webPerformAction(t.action, &error);
        lock.lock();
        if (status == 200) {
            b.awaiting = t.id;
            return true;
        }
        answer(b, t.id, WebReply{status, errorBody(error, b.screen)});
        b.changed.notify_all();
    }
}

bool bridgeProgramEnded(const nlohmann::json& lastScreen)
{
    Bridge& b = bridge();
    std::unique_lock<std::mutex> lock(b.mutex);
    publish(b, lastScreen, true);
    while (!b.queue.empty()) {
        answer(b, b.queue.front().id, WebReply{409, errorBody("the program has ended", b.screen)});
        b.queue.pop_front();
    }
    b.changed.notify_all();
    b.restart = false;
    b.changed.wait(lock, [&] { return b.stopping || b.restart; });
    b.restart = false;
    return !b.stopping;
}
