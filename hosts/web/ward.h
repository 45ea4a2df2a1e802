// zura-web serves each browser session its own run of the device program, in a worker process of
// its own (the same binary started with --worker). The front process keeps the HTTP server and
// the session table and speaks to each worker over a socket pair in length-prefixed JSON.
#pragma once
#include "hosts/web/bridge.h"
#include "hosts/web/web.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <set>
#include <string>
#include <sys/types.h>

// --- the channel between the front and a worker ----------------------------------------------
constexpr std::size_t channelMaxMessage = 32u << 20;
// A message is its length (4 bytes, most significant first) and that many bytes of JSON.
bool channelSend(int fd, const std::string& message);
// 1 with *message, 0 when nothing came by the deadline, -1 when the other end is gone or sent
// something that is not a message.
int channelReceive(int fd, std::string* message, std::chrono::steady_clock::time_point deadline);

// A worker: runs the program on the bridge and answers the front's requests
// ({"id":N,"op":"screen"|"action"|"report"|"restart","action":{..},"text":B}) with
// {"id":N,"status":S,"type":T,"body":B}. Ends when the front goes, and with status 0 when the
// program ended and no restart came within endedGrace.
int webWorkerMain(int fd, pid_t front, std::chrono::seconds endedGrace, WebProgramEntry entry);
// The reply a worker gives to one request (worker side, on the bridge).
WebReply workerAnswer(const nlohmann::json& request);

// --- the session table (front) -----------------------------------------------------------------
struct WebSessionOptions {
    std::string self;                        // this binary, started again as a worker
    std::size_t maxSessions = 0;
    std::chrono::seconds idle{1800};
    std::chrono::seconds endedGrace{60};
};
enum class WebSessionState { Unknown, Live, Crashed };

bool webSessionIdValid(const std::string& id);   // 32 lowercase hex digits
std::string webSessionCookieId(const std::string& cookieHeader);   // "" when there is none
void webSessionsConfigure(const WebSessionOptions& options);
// Runs the table on the calling thread (spawns workers, reaps them, ends idle sessions) until
// webSessionsStop; then ends every worker and reaps it. Workers die with this thread.
void webSessionsRun();
void webSessionsStop();
// A new session with its worker: its id, or "" with *status 503 (the cap) or 500 and *why.
std::string webSessionCreate(int* status, std::string* why);
WebSessionState webSessionState(const std::string& id);   // also counts as use of the session
void webSessionEnd(const std::string& id);
// Forwards one request to the session's worker; 410 or 502 when the session is gone.
WebReply webSessionCall(const std::string& id, nlohmann::json request);

// --- the command line and the checks of every request (front) -------------------------------------
bool webParseListen(const std::string& text, std::string* address, long* port);   // ADDRESS:PORT, [V6]:PORT
// A Host header names loopback or one of the allowed names (lower case), with or without a port.
bool webHostAllowed(const std::set<std::string>& allowedHosts, const std::string& host);
bool webSameOrigin(const std::string& origin, const std::string& host);   // http or https

// --- serving (front) ----------------------------------------------------------------------------
// A request refused before its body was read: the connection closes after the reply, or the rest
// of the body would be read as the next request.
void webCloseAfterReply(httplib::Response& res);

struct WebServingOptions {
    int requestSeconds = 10;     // from a request's first byte to its last
    int keepAliveSeconds = 10;   // an idle connection waits this long for the next request
    std::size_t maxPerAddress = 64;
    std::size_t threads = 256;
};
// The HTTP server with its own connection loop: a whole request must arrive within its time
// (a slow sender is answered 408), an idle connection is closed after its keep-alive time, and a
// client address holds at most so many connections (the next is answered 503).
class WebHttpServer : public httplib::Server {
public:
    explicit WebHttpServer(const WebServingOptions& options);
    // After a bind: a listen queue that takes a storm of connections at once.
    void widenBacklog();
    // Stops the server and every connection's wait at once.
    void halt();

private:
    bool process_and_close_socket(socket_t sock) override;
    WebServingOptions options_;
};
