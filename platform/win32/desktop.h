// The Windows branch of the platform boundary: <windows.h>, and the handheld's screen and system
// font on a desktop. The device program sizes its window from the screen metrics and was laid
// out for 240 x 320: on a desktop it sees that screen, and SHFullScreen (a handheld call) takes
// away the caption and frame a desktop window gets and centres the window on its monitor, so the
// client area is the handheld's screen and the bottom row of buttons stays on it. Its texts are
// measured and shown in the handheld's system font (Tahoma, 11 pixels), not in the desktop's
// larger bold "System": every control it makes starts with that font, as do the contexts of
// its windows.
#pragma once
#include <windows.h>

#ifndef SHFS_HIDETASKBAR
#define SHFS_HIDETASKBAR 0x0002
#define SHFS_HIDESIPBUTTON 0x0008
#endif

constexpr int handheldScreenWidth = 240;
constexpr int handheldScreenHeight = 320;

BOOL SHFullScreen(HWND window, DWORD state);
// GetSystemMetrics with the handheld's screen for SM_CXSCREEN and SM_CYSCREEN.
int handheldSystemMetrics(int index);
#define GetSystemMetrics handheldSystemMetrics

HFONT handheldSystemFont();
HWND handheldCreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR text, DWORD style, int x, int y,
                             int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param);
HDC handheldGetDC(HWND window);
#undef CreateWindowEx
#undef CreateWindow
#define CreateWindowExW handheldCreateWindowExW
#define GetDC handheldGetDC
