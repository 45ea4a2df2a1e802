// zura-web: runs the device program on the portable platform and serves its 240 x 320 screen to a
// web browser on 127.0.0.1. An HTTP thread takes the page's user actions and hands them to the
// one program thread through the input source; the program thread answers with the screen.
#pragma once
#include "platform/winapi.h"

#include <nlohmann/json.hpp>

#include <string>

typedef int (*WebProgramEntry)(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);

constexpr int webDefaultPort = 8240;

// Exit statuses.
constexpr int webOk = 0;
constexpr int webFailed = 1;      // the server could not start, or there is no program
constexpr int webBadUsage = 2;

// The command line: zura-web [--port N] [--root DIR]. Port 0 takes any free port. Serves until
// SIGINT or SIGTERM. defaultRoot is the data root the build wrote.
int webMain(int argc, char** argv, WebProgramEntry entry, const char* defaultRoot);

// --- program thread ----------------------------------------------------------------------------
// The screen as the page draws it: every visible window with its place, text, font, state, and
// for top-level windows and owner-drawn buttons their surface as a PNG data address.
nlohmann::json webScreen();
// Carries out one action from the page: checks it against the screen and pushes the user
// actions it stands for. Returns 200, or an HTTP status with *error saying why not.
int webPerformAction(const nlohmann::json& action, std::string* error);

// --- the page ----------------------------------------------------------------------------------
extern const char webPageHtml[];
extern const char webPageScript[];

// --- helpers -------------------------------------------------------------------------------------
std::string webUtf8(const std::u16string& text);     // lone surrogates become U+FFFD
std::u16string webTyped(const std::string& utf8);    // what can be typed: see text.cpp
std::string webPng(int width, int height, const COLORREF* pixels);  // 24-bit PNG file bytes
std::string webBase64(const std::string& bytes);
std::string webHandleId(HWND window);
HWND webHandleFromId(const std::string& id);         // nullptr when malformed
