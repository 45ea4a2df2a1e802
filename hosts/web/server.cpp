// zura-web's command line and its front: the HTTP server and the session table. The front never
// touches the window system; each browser session's program runs in a worker process (worker.cpp)
// that the front forwards the session's requests to. SIGINT and SIGTERM stop the front and with
// it every worker.
//   GET  /              the page (a session's first visit starts it; its id is a cookie)
//   GET  /page.js       its script                GET  /fonts/F.ttf   a DejaVu font file
//   GET  /screen        the current screen (JSON)
//   POST /action        an action (JSON), answered with the screen after it
//   POST /restart       starts the program again after it ended
//   POST /session       a new session in place of this browser's (the "Start again" button)
//   GET  /report        the whole report of the results page on screen, to read, print and copy
//   GET  /report.txt    the same as plain text (404 with a sentence when no results page is shown)
#include "hosts/web/ward.h"
#include "hosts/web/web.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

namespace {

constexpr std::size_t maxRequestBody = 16 * 1024;
constexpr long defaultIdleSeconds = 30 * 60;
// A worker holds about 11 MB (optimised build; see bench/web_ward.mjs) and is idle between a user's
// taps: memory is not the limit on this machine, the two cores are when many users act at once.
constexpr long defaultMaxSessions = 200;
constexpr long maxEndedGraceSeconds = 60;

const char usageText[] =
    "usage: zura-web [options]\n"
    "Serves the device program to web browsers, one run of the program for each browser session.\n"
    "  --port N                port on 127.0.0.1 (default 8240; 0 takes any free port)\n"
    "  --listen ADDRESS:PORT   listen there instead, e.g. 0.0.0.0:8240 or [::]:8240; beyond loopback\n"
    "                          it needs --allow-host (put a TLS-terminating proxy in front: see README)\n"
    "  --allow-host NAME       a Host name the server answers to besides loopback names; repeatable;\n"
    "                          requests naming any other host are refused\n"
    "  --root DIR              the data root with the program's databases (default: the build's)\n"
    "  --idle-timeout SECONDS  a session nobody uses this long ends, and its program (default 1800);\n"
    "                          a session whose program was closed ends after a minute without a restart\n"
    "  --max-sessions N        sessions held at once; the next visitor is asked to come back (default 200)\n"
    "  --max-per-address N     connections one client address may hold at once (default 64); behind a\n"
    "                          proxy every connection comes from the proxy: raise it there\n"
    "  --request-timeout SECONDS  time for a whole request to arrive; slower ones get 408 (default 10)\n"
    "  --keep-alive SECONDS    how long an idle connection is kept for its next request (default 10)\n"
    "  --worker FD PID GRACE   internal: how the server starts a session's program\n"
    "  --help                  this text\n";

int usage(const std::string& why)
{
    std::cerr << "zura-web: " << why << '\n' << usageText;
    return webBadUsage;
}

bool parseNumber(const std::string& text, long low, long high, long* out)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    *out = std::atol(text.c_str());
    return *out >= low && *out <= high;
}

}  // namespace

bool webParseListen(const std::string& text, std::string* address, long* port)
{
    std::size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0 || !parseNumber(text.substr(colon + 1), 0, 65535, port))
        return false;
    *address = text.substr(0, colon);
    if (address->front() == '[') {
        if (address->size() < 3 || address->back() != ']')
            return false;
        *address = address->substr(1, address->size() - 2);
    }
    return address->find_first_of("[]/ ") == std::string::npos;
}

namespace {

bool loopbackAddress(const std::string& address)
{
    return address == "::1" || address == "localhost" || address.rfind("127.", 0) == 0;
}

void reply(httplib::Response& res, const WebReply& r)
{
    res.status = r.status;
    res.set_header("Cache-Control", "no-store");
    res.set_content(r.body, r.type);
}

void notice(httplib::Response& res, int status, const std::string& heading, const std::string& sentence,
            WebNoticeButton button)
{
    res.status = status;
    res.set_header("Cache-Control", "no-store");
    res.set_content(webNoticePage(heading, sentence, button), "text/html; charset=utf-8");
}

std::string lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

struct Front {
    std::set<std::string> allowedHosts;   // lower case, without a port
    long idleSeconds = defaultIdleSeconds;
};

// Only pages of this server may drive the program: a request must name a loopback host or one
// the server was told to answer to (so a site whose name was made to resolve to this server is
// refused); actions must be sent as application/json, which a page of another origin cannot do
// without this server's consent, and a browser's Origin must be this server.
}  // namespace

bool webHostAllowed(const std::set<std::string>& allowedHosts, const std::string& host)
{
    static const std::regex loopback(R"((127\.0\.0\.1|localhost|\[::1\])(:[0-9]{1,5})?)");
    static const std::regex named(R"(([A-Za-z0-9.-]+|\[[0-9A-Fa-f:.]+\])(:[0-9]{1,5})?)");
    if (std::regex_match(host, loopback))
        return true;
    std::smatch m;
    return std::regex_match(host, m, named) && allowedHosts.count(lower(m[1].str()));
}

bool webSameOrigin(const std::string& origin, const std::string& host)
{
    return lower(origin) == "http://" + lower(host) || lower(origin) == "https://" + lower(host);
}

namespace {

void setCookie(httplib::Response& res, const std::string& id)
{
    res.set_header("Set-Cookie", "zura-session=" + id + "; Path=/; HttpOnly; SameSite=Strict");
}

std::string sessionOf(const httplib::Request& req)
{
    return webSessionCookieId(req.get_header_value("Cookie"));
}

std::string endedSentence(long idleSeconds)
{
    long minutes = std::max(1L, idleSeconds / 60);
    return "This Zura session has ended: it was not used for " +
           (idleSeconds < 120 ? std::to_string(idleSeconds) + " seconds" : std::to_string(minutes) + " minutes") +
           ", or its program was closed. Nothing from it is kept. Start again to begin a new session.";
}

const char crashedSentence[] =
    "The program of this session stopped unexpectedly. Other sessions are not affected. What was on screen is "
    "not kept: start again and enter the answers anew.";

// A new session for this browser, answered with the page (or the cap's page).
void newSession(httplib::Response& res)
{
    int status = 0;
    std::string why;
    std::string id = webSessionCreate(&status, &why);
    if (id.empty()) {
        if (status == 503)
            res.set_header("Retry-After", "60");
        notice(res, status, status == 503 ? "Zura is busy" : "Zura could not start", why, WebNoticeButton::TryAgain);
        return;
    }
    setCookie(res, id);
    res.set_header("Cache-Control", "no-store");
    res.set_content(webPageHtml, "text/html; charset=utf-8");
}

void forward(const httplib::Request& req, httplib::Response& res, nlohmann::json request)
{
    std::string id = sessionOf(req);
    bool report = request["op"] == "report";
    WebReply r = id.empty() ? WebReply{410, R"({"startAgain":true,"error":"This browser has no session. Start again to go on."})"}
                            : webSessionCall(id, std::move(request));
    // The report opens in a tab of its own: it is told in words.
    if ((r.status == 410 || r.status == 502)  && report)
        r = WebReply{r.status, nlohmann::json::parse(r.body, nullptr, false).value("error", "") + "\n",
                     "text/plain; charset=utf-8"};
    reply(res, r);
}

void routes(httplib::Server& server, const Front& front)
{
    server.set_pre_routing_handler([&front](const httplib::Request& req, httplib::Response& res) {
        auto refuse = [&res](int status, const char* body) {
            webCloseAfterReply(res);
            reply(res, WebReply{status, body});
            return httplib::Server::HandlerResponse::Handled;
        };
        if (!webHostAllowed(front.allowedHosts, req.get_header_value("Host"))) {
            return refuse(403, R"({"error":"this server does not answer to that host name"})");
        }
        if (req.method == "POST" && req.get_header_value("Content-Type").rfind("application/json", 0) != 0) {
            return refuse(415, R"({"error":"send application/json"})");
        }
        if (req.method == "POST" && req.has_header("Origin") &&
            !webSameOrigin(req.get_header_value("Origin"), req.get_header_value("Host"))) {
            return refuse(403, R"({"error":"only this server's own page may act"})");
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });
    server.Get("/", [&front](const httplib::Request& req, httplib::Response& res) {
        std::string id = sessionOf(req);
        if (id.empty())
            return newSession(res);
        switch (webSessionState(id)) {
        case WebSessionState::Live:
            res.set_header("Cache-Control", "no-store");
            res.set_content(webPageHtml, "text/html; charset=utf-8");
            return;
        case WebSessionState::Crashed:
            return notice(res, 502, "The program stopped", crashedSentence, WebNoticeButton::StartAgain);
        case WebSessionState::Unknown:
            return notice(res, 410, "This session has ended", endedSentence(front.idleSeconds),
                          WebNoticeButton::StartAgain);
        }
    });
    server.Post("/session", [](const httplib::Request& req, httplib::Response& res) {
        if (std::string old = sessionOf(req); !old.empty())
            webSessionEnd(old);
        int status = 0;
        std::string why;
        std::string id = webSessionCreate(&status, &why);
        if (id.empty())
            return reply(res, WebReply{status, nlohmann::json{{"error", why}}.dump()});
        setCookie(res, id);
        reply(res, WebReply{200, "{}"});
    });
    server.Get("/page.js", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(webPageScript, "text/javascript; charset=utf-8");
    });
    // Only the DejaVu files, by plain name: no other path is ever read.
    server.Get(R"(/fonts/(DejaVu[A-Za-z-]*\.ttf))", [](const httplib::Request& req, httplib::Response& res) {
        std::ifstream file(std::string(ZURA_FONT_DIR) + "/" + req.matches[1].str(), std::ios::binary);
        if (!file) {
            res.status = 404;
            return;
        }
        std::stringstream bytes;
        bytes << file.rdbuf();
        res.set_header("Cache-Control", "max-age=3600");
        res.set_content(bytes.str(), "font/ttf");
    });
    server.Get("/screen", [](const httplib::Request& req, httplib::Response& res) { forward(req, res, {{"op", "screen"}}); });
    server.Post("/action", [](const httplib::Request& req, httplib::Response& res) {
        nlohmann::json action = nlohmann::json::parse(req.body, nullptr, false);
        if (action.is_discarded() || !action.is_object()) {
            reply(res, WebReply{400, R"({"error":"the action is not a JSON object"})"});
            return;
        }
        forward(req, res, {{"op", "action"}, {"action", std::move(action)}});
    });
    server.Get("/report", [](const httplib::Request& req, httplib::Response& res) {
        forward(req, res, {{"op", "report"}, {"text", false}});
    });
    server.Get("/report.txt", [](const httplib::Request& req, httplib::Response& res) {
        forward(req, res, {{"op", "report"}, {"text", true}});
    });
    server.Post("/restart", [](const httplib::Request& req, httplib::Response& res) { forward(req, res, {{"op", "restart"}}); });
}

// Stops the server; a stop that came before the server thread began listening would be lost, so
// it waits (bounded) for the listening to begin first.
void stopServer(WebHttpServer& server)
{
    for (int i = 0; i < 200 && !server.is_running(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    server.halt();
}

std::string selfPath()
{
    char path[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    return n > 0 ? std::string(path, std::size_t(n)) : "";
}

}  // namespace

int webMain(int argc, char** argv, WebProgramEntry entry, const char* defaultRoot)
{
    std::string root = defaultRoot ? defaultRoot : ".";
    std::string address = "127.0.0.1";
    long port = webDefaultPort, maxSessions = defaultMaxSessions;
    Front front;
    WebServingOptions serving;
    // Options that take a number: name, lowest, highest, where it goes.
    long maxPerAddress = long(serving.maxPerAddress), requestSeconds = serving.requestSeconds,
         keepAlive = serving.keepAliveSeconds;
    const struct {
        const char* name;
        long low, high;
        long* value;
    } numbers[] = {{"--port", 0, 65535, &port},
                   {"--idle-timeout", 1, 7 * 24 * 3600, &front.idleSeconds},
                   {"--max-sessions", 1, 100000, &maxSessions},
                   {"--max-per-address", 1, 10000, &maxPerAddress},
                   {"--request-timeout", 1, 3600, &requestSeconds},
                   {"--keep-alive", 1, 3600, &keepAlive}};
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i], value;
        if (arg == "--help" || arg == "-h") {
            std::cout << usageText;
            return webOk;
        }
        if (arg == "--worker") {
            long fd = 0, parent = 0, grace = 0;
            if (i + 3 >= argc)
                return usage("--worker needs FD PID GRACE");
            if (!parseNumber(argv[i + 1], 3, 1023, &fd) || !parseNumber(argv[i + 2], 1, INT_MAX, &parent) ||
                !parseNumber(argv[i + 3], 1, 7 * 24 * 3600, &grace) || !entry)
                return usage("bad --worker arguments");
            return webWorkerMain(int(fd), pid_t(parent), std::chrono::seconds(grace), entry);
        }
        std::size_t equals = arg.find('=');
        if (arg.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = arg.substr(equals + 1);
            arg = arg.substr(0, equals);
        } else if (i + 1 < argc) {
            value = argv[++i];
        } else {
            return usage(arg.rfind("--", 0) == 0 ? arg + " needs a value" : "unknown argument " + arg);
        }
        bool known = false;
        for (const auto& n : numbers)
            if (arg == n.name) {
                known = true;
                if (!parseNumber(value, n.low, n.high, n.value))
                    return usage("bad value for " + arg + ": " + value);
            }
        if (known)
            continue;
        if (arg == "--root") {
            root = value;
        } else if (arg == "--listen") {
            if (!webParseListen(value, &address, &port))
                return usage("bad --listen " + value + " (ADDRESS:PORT)");
        } else if (arg == "--allow-host") {
            if (value.empty() || value.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.-") !=
                                     std::string::npos)
                return usage("bad --allow-host " + value + " (a host name, without a port)");
            front.allowedHosts.insert(lower(value));
        } else {
            return usage("unknown argument " + arg);
        }
    }
    if (!loopbackAddress(address) && front.allowedHosts.empty())
        return usage("listening on " + address + " needs --allow-host with the name clients use");
    if (!entry) {
        std::cerr << "zura-web: the device program is not part of this build\n";
        return webFailed;
    }
    if (chdir(root.c_str()) != 0)
        return usage("no data root " + root);
    WebSessionOptions sessions;
    sessions.self = selfPath();
    sessions.maxSessions = std::size_t(maxSessions);
    sessions.idle = std::chrono::seconds(front.idleSeconds);
    sessions.endedGrace = std::chrono::seconds(std::min(front.idleSeconds, maxEndedGraceSeconds));
    webSessionsConfigure(sessions);
    serving.maxPerAddress = std::size_t(maxPerAddress);
    serving.requestSeconds = int(requestSeconds);
    serving.keepAliveSeconds = int(keepAlive);

    // SIGINT and SIGTERM are taken by one thread that stops the run; the others never see them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    WebHttpServer server(serving);
    server.set_payload_max_length(maxRequestBody);
    // Each answer is one small write: without this the page waits for the delayed ACK (~40 ms).
    server.set_tcp_nodelay(true);
    // SO_REUSEADDR only: the library's default also sets SO_REUSEPORT, which would let a second
    // zura-web bind the same port and take half of the page's requests to another program.
    server.set_socket_options([](socket_t sock) {
        int yes = 1;
        setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const void*>(&yes), sizeof yes);
    });
    routes(server, front);
    int bound = port == 0 ? server.bind_to_any_port(address) : (server.bind_to_port(address, int(port)) ? int(port) : -1);
    std::string shown = address.find(':') != std::string::npos ? "[" + address + "]" : address;
    if (bound <= 0) {
        std::cerr << "zura-web: cannot listen on " << shown << ":" << port << '\n';
        return webFailed;
    }
    server.widenBacklog();
    std::cout << "zura-web: http://" << shown << ":" << bound << "/" << std::endl;

    std::thread http([&server] { server.listen_after_bind(); });
    std::thread signals([&server, stopSignals] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        webSessionsStop();
        stopServer(server);
    });
    webSessionsRun();
    signals.join();
    http.join();
    return webOk;
}
