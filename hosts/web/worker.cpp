// A session's worker: the device program on its own thread, as on the handheld, and one thread
// that carries the front's requests to the bridge. It dies with the front (the kernel kills it
// when the front's table thread goes) and ends when the front closes the channel.
#include "hosts/web/ward.h"
#include "hosts/web/web.h"
#include "platform/portable/host.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <iostream>
#include <thread>

namespace {

// Runs the program until the run stops; each run starts with a fresh window system.
void runProgram(WebProgramEntry entry, std::chrono::seconds endedGrace)
{
    static WCHAR commandLine[1] = {0};
    for (;;) {
        portableResetWindows();
        portableSetInputSource(bridgeNextActions, nullptr);
        entry(portableProgramInstance(), nullptr, commandLine, SW_SHOW);
        portableSetInputSource(nullptr, nullptr);
        WebScreen last = webScreenParts();
        portableResetWindows();
        if (bridgeStopping() || !bridgeProgramEnded(last, endedGrace))
            return;
    }
}

}  // namespace

WebReply workerAnswer(const nlohmann::json& request)
{
    const nlohmann::json& op = request.contains("op") ? request["op"] : nlohmann::json();
    if (op == "screen")
        return bridgeScreen();
    if (op == "action" && request.contains("action") && request["action"].is_object())
        return bridgeAct(request["action"]);
    if (op == "report")
        return bridgeReport(request.value("text", false) == true);
    if (op == "restart")
        return bridgeRestart();
    return WebReply{400, R"({"error":"unknown request"})"};
}

int webWorkerMain(int fd, pid_t front, std::chrono::seconds endedGrace, WebProgramEntry entry)
{
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != front)
        return webFailed;   // the front went before the line above took effect

    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    std::thread channel([fd] {
        std::string message;
        while (channelReceive(fd, &message, std::chrono::steady_clock::time_point::max()) == 1) {
            nlohmann::json request = nlohmann::json::parse(message, nullptr, false);
            WebReply reply = request.is_object() ? workerAnswer(request) : WebReply{400, R"({"error":"not a request"})"};
            nlohmann::json out = {{"id", request.is_object() && request.contains("id") ? request["id"] : nlohmann::json()},
                                  {"status", reply.status}, {"type", reply.type}, {"body", reply.body}};
            if (!channelSend(fd, out.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)))
                break;
        }
        bridgeStop();
    });
    std::thread signals([stopSignals] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        bridgeStop();
    });
    runProgram(entry, endedGrace);
    bridgeStop();
    shutdown(fd, SHUT_RDWR);
    pthread_kill(signals.native_handle(), SIGTERM);
    channel.join();
    signals.join();
    return webOk;
}
