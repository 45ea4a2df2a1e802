// Test harness for the portable window system: a message log kept by a logging window class
// (Wine's message tests keep the same kind of log), in-memory dialog templates, and a scripted
// input source whose steps run whenever the program waits for the user.
#pragma once
#include "platform/portable/host.h"
#include "platform/winapi.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

struct LoggedMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Messages seen by windows of class "Logger" (and by dialog procedures that log), in order.
std::vector<LoggedMessage>& messageLog();
// The log's messages among the kinds given, as (message, wParam) pairs, for sequence checks.
std::vector<std::pair<UINT, WPARAM>> logged(std::initializer_list<UINT> kinds);
// Registers "Logger" (procedure: log, then DefWindowProcW).
void registerLogger();
HWND createLogger(DWORD style = WS_VISIBLE, HWND parent = nullptr);
HWND createControl(const char16_t* className, const char16_t* text, DWORD style, int x, int y,
                   int width, int height, HWND parent, int id);

// A resource compiler's DLGTEMPLATE in memory: header, no menu, default class, title, font
// "System" 8, then items with predefined class ordinals.
struct DialogItem {
    DWORD style;
    short x, y, cx, cy;
    WORD id;
    WORD classOrdinal;   // 0x80 BUTTON, 0x81 EDIT, 0x82 STATIC, 0x83 LISTBOX, 0x85 COMBOBOX
    const char16_t* text;
};
std::vector<WORD> dialogTemplate(DWORD style, short x, short y, short cx, short cy, const char16_t* title,
                                 const std::vector<DialogItem>& items);

// Steps run one at a time when the program waits for input; when none is left, the loops end.
struct ScriptedUser {
    std::deque<std::function<void()>> steps;
    void install();
};

void tapWindow(HWND window);
HWND findByText(const std::u16string& text);   // a live window whose text equals text

class PlatformTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};
