// zura-web's command line and HTTP side. The server listens on 127.0.0.1 only; its thread never
// touches the window system, it hands actions to the bridge. The main thread runs the program
// (again, when the page asks after it ended); SIGINT and SIGTERM stop both.
//   GET  /              the page             GET  /page.js     its script
//   GET  /fonts/F.ttf   a DejaVu font file   GET  /screen      the current screen (JSON)
//   POST /action        an action (JSON), answered with the screen after it
//   POST /restart       starts the program again after it ended
//   GET  /report        the whole report of the results page on screen, to read, print and copy
//   GET  /report.txt    the same as plain text (404 with a sentence when no results page is shown)
#include "hosts/web/bridge.h"
#include "hosts/web/web.h"
#include "platform/portable/host.h"

#include <httplib.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <regex>
#include <sstream>
#include <thread>

namespace {

constexpr std::size_t maxRequestBody = 16 * 1024;

int usage(const std::string& why)
{
    std::cerr << "zura-web: " << why << "\nusage: zura-web [--port N] [--root DIR]\n";
    return webBadUsage;
}

bool parsePort(const std::string& text, int* port)
{
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    *port = std::atoi(text.c_str());
    return *port <= 65535;
}

void reply(httplib::Response& res, const WebReply& r)
{
    res.status = r.status;
    res.set_header("Cache-Control", "no-store");
    res.set_content(r.body, r.type);
}

// Only pages of this server may drive the program: a request must name a loopback host (so a
// site whose name was made to resolve to 127.0.0.1 is refused), and actions must be sent as
// application/json, which a page of another origin cannot do without this server's consent.
bool loopbackHost(const std::string& host)
{
    static const std::regex allowed(R"((127\.0\.0\.1|localhost|\[::1\])(:[0-9]{1,5})?)");
    return std::regex_match(host, allowed);
}

void routes(httplib::Server& server)
{
    server.set_pre_routing_handler([](const httplib::Request& req, httplib::Response& res) {
        if (!loopbackHost(req.get_header_value("Host"))) {
            reply(res, WebReply{403, R"({"error":"only 127.0.0.1 may be asked"})"});
            return httplib::Server::HandlerResponse::Handled;
        }
        if (req.method == "POST" && req.get_header_value("Content-Type").rfind("application/json", 0) != 0) {
            reply(res, WebReply{415, R"({"error":"send application/json"})"});
            return httplib::Server::HandlerResponse::Handled;
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });
    server.Get("/", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(webPageHtml, "text/html; charset=utf-8");
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
    server.Get("/screen", [](const httplib::Request&, httplib::Response& res) { reply(res, bridgeScreen()); });
    server.Post("/action", [](const httplib::Request& req, httplib::Response& res) {
        nlohmann::json action = nlohmann::json::parse(req.body, nullptr, false);
        if (action.is_discarded() || !action.is_object()) {
            reply(res, WebReply{400, R"({"error":"the action is not a JSON object"})"});
            return;
        }
        reply(res, bridgeAct(action));
    });
    server.Get("/report", [](const httplib::Request&, httplib::Response& res) { reply(res, bridgeReport(false)); });
    server.Get("/report.txt", [](const httplib::Request&, httplib::Response& res) { reply(res, bridgeReport(true)); });
    server.Post("/restart", [](const httplib::Request&, httplib::Response& res) { reply(res, bridgeRestart()); });
}

// Stops the server; a stop that came before the server thread began listening would be lost, so
// it waits (bounded) for the listening to begin first.
void stopServer(httplib::Server& server)
{
    for (int i = 0; i < 200 && !server.is_running(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    server.stop();
}

// Runs the program until the run stops; each run starts with a fresh window system.
void runProgram(WebProgramEntry entry)
{
    static WCHAR commandLine[1] = {0};
    for (;;) {
        portableResetWindows();
        portableSetInputSource(bridgeNextActions, nullptr);
        entry(portableProgramInstance(), nullptr, commandLine, SW_SHOW);
        portableSetInputSource(nullptr, nullptr);
        WebScreen last = webScreenParts();
        portableResetWindows();
        if (bridgeStopping())
            return;
        std::cerr << "zura-web: the program has ended; the page can start it again" << std::endl;
        if (!bridgeProgramEnded(last))
            return;
    }
}

}  // namespace

int webMain(int argc, char** argv, WebProgramEntry entry, const char* defaultRoot)
{
    std::string root = defaultRoot ? defaultRoot : ".";
    int port = webDefaultPort;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        std::string value;
        bool hasValue = false;
        if (arg == "--port" || arg == "--root") {
            if (++i >= argc)
                return usage(arg + " needs a value");
            value = argv[i];
            hasValue = true;
        } else if (arg.rfind("--port=", 0) == 0 || arg.rfind("--root=", 0) == 0) {
            value = arg.substr(7);
            arg = arg.substr(0, 6);
            hasValue = true;
        }
        if (hasValue && arg == "--port") {
            if (!parsePort(value, &port))
                return usage("bad port " + value);
        } else if (hasValue && arg == "--root") {
            root = value;
        } else if (arg == "--help" || arg == "-h") {
            usage("runs the device program and serves its screen on 127.0.0.1");
            return webOk;
        } else {
            return usage("unknown argument " + arg);
        }
    }
    if (!entry) {
        std::cerr << "zura-web: the device program is not part of this build\n";
        return webFailed;
    }
    if (chdir(root.c_str()) != 0)
        return usage("no data root " + root);

    // SIGINT and SIGTERM are taken by one thread that stops the run; the others never see them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    httplib::Server server;
    server.set_payload_max_length(maxRequestBody);
    // Each answer is one small write: without this the page waits for the delayed ACK (~40 ms).
    server.set_tcp_nodelay(true);
    // SO_REUSEADDR only: the library's default also sets SO_REUSEPORT, which would let a second
    // zura-web bind the same port and take half of the page's requests to another program.
    server.set_socket_options([](socket_t sock) {
        int yes = 1;
        setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const void*>(&yes), sizeof yes);
    });
    routes(server);
    int bound = port == 0 ? server.bind_to_any_port("127.0.0.1") : (server.bind_to_port("127.0.0.1", port) ? port : -1);
    if (bound <= 0) {
        std::cerr << "zura-web: cannot listen on 127.0.0.1:" << port << '\n';
        return webFailed;
    }
    std::cout << "zura-web: http://127.0.0.1:" << bound << "/" << std::endl;

    std::thread http([&server] { server.listen_after_bind(); });
    std::thread signals([&server, stopSignals] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        bridgeStop();
        stopServer(server);
    });
    runProgram(entry);
    // The program ended by a stop: wake the signal thread if no signal came.
    bridgeStop();
    stopServer(server);
    pthread_kill(signals.native_handle(), SIGTERM);
    http.join();
    signals.join();
    return webOk;
}
