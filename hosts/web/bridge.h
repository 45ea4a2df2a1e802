// The meeting point of the HTTP thread and the program thread: a queue of the page's actions the
// program thread takes from when it waits for the user, and the latest screen it leaves back.
#pragma once
#include "hosts/web/web.h"

#include <nlohmann/json.hpp>

#include <chrono>
#include <string>

struct WebReply {
    int status = 200;
    std::string body;
    // With its charset, which also keeps the HTTP library from compressing every reply (it
    // compresses only a bare "application/json"): on loopback that costs more than it saves.
    std::string type = "application/json; charset=utf-8";
};

// HTTP thread. Each waits a bounded time for the program thread.
WebReply bridgeAct(const nlohmann::json& action);   // the screen after the action
WebReply bridgeScreen();                              // the current screen
// The whole report of the results page on screen, as a page or as plain text; 404 with a
// sentence when no results page is shown.
WebReply bridgeReport(bool plainText);
WebReply bridgeRestart();                             // starts the program again after it ended
void bridgeStop();                                    // ends the program's loops and the run

// Program thread.
bool bridgeNextActions(void* context);                // the input source
// The program returned: publishes the last screen, then waits for a restart (true) or a stop or
// no restart within the grace (false).
bool bridgeProgramEnded(const WebScreen& lastScreen, std::chrono::seconds grace);
bool bridgeStopping();
