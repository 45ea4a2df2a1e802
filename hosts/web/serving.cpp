// zura-web's connection loop. cpp-httplib's own gives each connection a thread for as long as its
// client keeps sending a byte within the read timeout, so a few clients sending their headers a
// byte at a time stall every other; here a request has a deadline from its first byte to its
// last, an idle connection is closed after its keep-alive time, and one client address holds at
// most so many connections at once.
#include "hosts/web/ward.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <map>
#include <mutex>

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto writeWait = std::chrono::seconds(10);
constexpr std::size_t maxRequestsPerConnection = 100000;
const char lateSentence[] = "The request did not arrive in time.\n";

std::atomic<bool> halting{false};

// Waits for the socket; false at the deadline or when the server stops.
bool ready(int sock, short events, Clock::time_point deadline)
{
    for (;;) {
        auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0 || halting)
            return false;
        pollfd p{sock, events, 0};
        int n = poll(&p, 1, int(std::min<long long>(left, 200)));
        if (n > 0)
            return true;
        if (n < 0 && errno != EINTR)
            return false;
    }
}

std::string addressOf(const sockaddr_storage& addr, socklen_t length, int* port)
{
    char host[NI_MAXHOST] = "", service[NI_MAXSERV] = "";
    if (getnameinfo(reinterpret_cast<const sockaddr*>(&addr), length, host, sizeof host, service, sizeof service,
                    NI_NUMERICHOST | NI_NUMERICSERV) != 0)
        return "";
    *port = std::atoi(service);
    return host;
}

// One connection: reads are bounded by the deadline of the request being read.
class Connection : public httplib::Stream {
public:
    explicit Connection(int sock) : sock_(sock) {}
    Clock::time_point deadline;
    bool timedOut = false;
    bool written = false;   // since the request began
    bool closeAfter = false;

    bool is_readable() const override { return ready(sock_, POLLIN, deadline); }
    bool is_writable() const override { return ready(sock_, POLLOUT, Clock::now() + writeWait); }
    ssize_t read(char* out, size_t size) override
    {
        for (;;) {
            if (!ready(sock_, POLLIN, deadline)) {
                timedOut = Clock::now() >= deadline;
                return -1;
            }
            ssize_t n = recv(sock_, out, size, 0);
            if (n >= 0 || (errno != EINTR && errno != EAGAIN))
                return n;
        }
    }
    ssize_t write(const char* data, size_t size) override
    {
        size_t sent = 0;
        while (sent < size) {
            if (!is_writable())
                return -1;
            ssize_t n = send(sock_, data + sent, size - sent, MSG_NOSIGNAL);
            if (n < 0 && (errno == EINTR || errno == EAGAIN))
                continue;
            if (n <= 0)
                return -1;
            sent += size_t(n);
            written = true;
        }
        return ssize_t(size);
    }
    void get_remote_ip_and_port(std::string& ip, int& port) const override { endpoint(true, ip, port); }
    void get_local_ip_and_port(std::string& ip, int& port) const override { endpoint(false, ip, port); }
    socket_t socket() const override { return sock_; }

private:
    void endpoint(bool remote, std::string& ip, int& port) const
    {
        sockaddr_storage addr{};
        socklen_t length = sizeof addr;
        int r = remote ? getpeername(sock_, reinterpret_cast<sockaddr*>(&addr), &length)
                       : getsockname(sock_, reinterpret_cast<sockaddr*>(&addr), &length);
        port = 0;
        ip = r == 0 ? addressOf(addr, length, &port) : "";
    }
    int sock_;
};

std::mutex countsMutex;
std::map<std::string, std::size_t> perAddress;

// Lets the client read the answer before the connection goes: a close with unread bytes would
// reset the connection and could lose the answer.
void closeGently(int sock)
{
    shutdown(sock, SHUT_WR);
    char sink[1024];
    Clock::time_point until = Clock::now() + std::chrono::seconds(1);
    while (!halting && ready(sock, POLLIN, until) && recv(sock, sink, sizeof sink, 0) > 0) {
    }
    close(sock);
}

thread_local Connection* current = nullptr;

// An answer given before a request could be read, and the connection's last.
void sendPlain(int sock, const std::string& status, const std::string& sentence)
{
    std::string answer = "HTTP/1.1 " + status + "\r\nContent-Type: text/plain; charset=utf-8\r\nConnection: close\r\n" +
                         "Content-Length: " + std::to_string(sentence.size()) + "\r\n\r\n" + sentence;
    send(sock, answer.data(), answer.size(), MSG_NOSIGNAL);
}

}  // namespace

WebHttpServer::WebHttpServer(const WebServingOptions& options) : options_(options)
{
    std::size_t threads = options.threads;
    new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
    // The Keep-Alive header tells clients these, so that they close an idle connection first.
    set_keep_alive_timeout(options.keepAliveSeconds);
    set_keep_alive_max_count(maxRequestsPerConnection);
    // A request that ran out of time is told so, rather than that it was malformed.
    set_error_handler(HandlerWithResponse([](const httplib::Request&, httplib::Response& res) {
        if (res.status == 400 && current && current->timedOut) {
            res.status = 408;
            res.set_content(lateSentence, "text/plain; charset=utf-8");
            return httplib::Server::HandlerResponse::Handled;
        }
        return httplib::Server::HandlerResponse::Unhandled;
    }));
}

void webCloseAfterReply(httplib::Response& res)
{
    res.set_header("Connection", "close");
    if (current)
        current->closeAfter = true;
}

void WebHttpServer::halt()
{
    halting = true;
    stop();
}

void WebHttpServer::widenBacklog()
{
    if (svr_sock_ != INVALID_SOCKET)
        ::listen(svr_sock_, SOMAXCONN);
}

bool WebHttpServer::process_and_close_socket(socket_t sock)
{
    Connection connection(sock);
    int yes = 1;
    setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    std::string address;
    int port = 0;
    connection.get_remote_ip_and_port(address, port);
    {
        std::lock_guard<std::mutex> lock(countsMutex);
        if (perAddress[address] >= options_.maxPerAddress) {
            sendPlain(sock, "503 Service Unavailable", "Too many connections from your address; try again.\n");
            closeGently(sock);
            return false;
        }
        ++perAddress[address];
    }
    current = &connection;
    bool ok = true;
    for (std::size_t count = 0; ok && svr_sock_ != INVALID_SOCKET; ++count) {
        // The first request may take the whole request time to begin; later ones the keep-alive time.
        Clock::time_point now = Clock::now();
        if (!ready(sock, POLLIN, now + std::chrono::seconds(count ? options_.keepAliveSeconds : options_.requestSeconds)))
            break;
        connection.deadline = Clock::now() + std::chrono::seconds(options_.requestSeconds);
        connection.written = false;
        bool closed = false;
        ok = process_request(connection, svr_sock_ == INVALID_SOCKET || count + 1 >= maxRequestsPerConnection, closed, nullptr);
        if (connection.timedOut && !connection.written)
            sendPlain(sock, "408 Request Timeout", lateSentence);
        if (closed || connection.timedOut || connection.closeAfter)
            break;
    }
    current = nullptr;
    {
        std::lock_guard<std::mutex> lock(countsMutex);
        if (--perAddress[address] == 0)
            perAddress.erase(address);
    }
    closeGently(sock);
    return ok;
}
