// Calls between the two halves of the portable platform: the window system (windows, messages,
// controls, dialogs) and the graphics system (device contexts, fonts, bitmaps, resources).
#pragma once
#include "platform/portable/host.h"
#include "platform/winapi.h"

// Window half: a window's rectangle in screen coordinates; false for a window that does not exist.
bool portableWindowRect(HWND window, RECT* screenRect);
// Window half: the font last given to the window by WM_SETFONT (nullptr: the system font).
HFONT portableWindowFont(HWND window);
// Window half: the part of the window's client area that waits to be painted, in client
// coordinates; false when nothing waits. BeginPaint reads it, then validates (ValidateRect).
bool portableWindowUpdateRect(HWND window, RECT* clientRect);

// Graphics half: the window is being destroyed; release its surface and device contexts.
void portableGdiWindowDestroyed(HWND window);
// Graphics half: what a font is (portableFontInfo) is declared for the hosts in host.h.
