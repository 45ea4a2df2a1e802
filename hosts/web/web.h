// zura-web: runs the device program on the portable platform and serves its 240 x 320 screen to
// web browsers, on 127.0.0.1 unless told otherwise; each browser session has its own run of the
// program in a worker process. In a worker an HTTP-side thread takes the page's user actions and
// hands them to the one program thread through the input source; the program thread answers with
// the screen.
#pragma once
#include "platform/portable/host.h"
#include "platform/winapi.h"

#include <nlohmann/json.hpp>

#include <memory>
#include <string>
#include <vector>

typedef int (*WebProgramEntry)(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);

constexpr int webDefaultPort = 8240;

// Exit statuses.
constexpr int webOk = 0;
constexpr int webFailed = 1;      // the server could not start, or there is no program
constexpr int webBadUsage = 2;

// The command line: see zura-web --help (server.cpp). Port 0 takes any free port. Serves until
// SIGINT or SIGTERM. defaultRoot is the data root the build wrote.
int webMain(int argc, char** argv, WebProgramEntry entry, const char* defaultRoot);

// --- program thread ----------------------------------------------------------------------------
// The screen as the page draws it: every visible window with its place, text, font, state, and
// for top-level windows and owner-drawn buttons their surface as a PNG data address. Each
// window's part is serialised once per change of what it is made from: a window as it was
// keeps the very same text (the same shared string) from screen to screen.
struct WebScreen {
    std::string members;                                     // the members but "windows", serialised, no braces
    std::vector<std::string> ids;                            // of the windows, in order
    std::vector<std::shared_ptr<const std::string>> windows; // each window's JSON object
};
WebScreen webScreenParts();
// The screen as one JSON object; more is serialised members put first, each followed by a comma.
std::string webScreenJson(const WebScreen& screen, const std::string& more);
nlohmann::json webScreen();   // the same, parsed
// The page's ids of the windows of a snapshot, in its order: the same window at the same place
// keeps its id when the program makes it again (a report read, a repaint), so a screen that
// looks the same has the same ids.
std::vector<std::string> webWindowIds(const std::vector<PortableWindowInfo>& windows);
std::string webWindowId(HWND window);   // "" when it is not a live window
// Carries out one action from the page: checks it against the screen and pushes the user
// actions it stands for. Returns 200, or an HTTP status with *error saying why not.
int webPerformAction(const nlohmann::json& action, std::string* error);

// The whole report of the results page on screen (report.cpp): every section the selector
// offers, in its order, read from the program's display lines.
struct WebReportRun {
    std::string text;   // UTF-8
    bool bold = false;
};
struct WebReportRow {
    int indent = 0;     // pixels on the screen
    std::vector<WebReportRun> runs;
};
struct WebReportParagraph {
    std::vector<WebReportRow> rows;
};
struct WebReportSection {
    std::string heading;   // the selector's entry
    std::vector<WebReportParagraph> paragraphs;
};
struct WebReport {
    std::string program, title, when;
    std::vector<WebReportSection> sections;
};
bool webReportAvailable();                  // a results page with its selector is shown
bool webReadReport(WebReport* report);      // false when there is none; restores the user's section
std::string webReportHtml(const WebReport& report);
std::string webReportText(const WebReport& report);

// A page in place of the program's, with a heading, a sentence (HTML) and a button.
enum class WebNoticeButton { None, StartAgain, TryAgain };
std::string webNoticePage(const std::string& heading, const std::string& sentence, WebNoticeButton button);

// --- the page ----------------------------------------------------------------------------------
extern const char webPageHead[];   // from the doctype to the title: every page zura-web serves begins so
extern const std::string webPageHtml;
extern const std::string webPageScript;

// --- helpers -------------------------------------------------------------------------------------
std::string webUtf8(const std::u16string& text);     // lone surrogates become U+FFFD
std::u16string webTyped(const std::string& utf8);    // what can be typed: see text.cpp
std::string webPng(int width, int height, const COLORREF* pixels);  // 24-bit PNG file bytes
std::string webBase64(const std::string& bytes);
std::string webHandleId(HWND window);
HWND webHandleFromId(const std::string& id);         // nullptr when malformed
