// Keyboard focus and the active window: SetFocus with WM_KILLFOCUS/WM_SETFOCUS, activation with
// WM_ACTIVATE, and the z order of top-level windows (an owned window stays above its owner).
// Differs from Windows in: no WM_NCACTIVATE, WM_ACTIVATEAPP or WM_MOUSEACTIVATE; one
// application, so the foreground window is the active window.
#include "platform/portable/wnd.h"

#include <algorithm>

void bringToTop(HWND window)
{
    WindowSystem& ws = windowSystem();
    auto& z = ws.topLevel;
    auto it = std::find(z.begin(), z.end(), window);
    if (it == z.end())
        return;
    z.erase(it);
    z.push_back(window);
    std::vector<HWND> owned;
    for (HWND t : z)
        if (t != window && liveWindow(t) && t->owner == window)
            owned.push_back(t);
    for (HWND t : owned)
        bringToTop(t);
}

void activateWindow(HWND window)
{
    WindowSystem& ws = windowSystem();
    if (!liveWindow(window) || window->parent)
        return;
    bringToTop(window);
    if (ws.active == window)
        return;
    HWND previous = liveWindow(ws.active) ? ws.active : nullptr;
    ws.active = window;
    if (previous)
        SendMessageW(previous, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), (LPARAM)window);
    if (ws.active == window && liveWindow(window))
        SendMessageW(window, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), (LPARAM)previous);
}

void activateAnother(HWND leaving)
{
    WindowSystem& ws = windowSystem();
    HWND next = nullptr;
    PortableWindow* w = liveWindow(leaving);
    if (w && liveWindow(w->owner) && reallyVisible(w->owner) && IsWindowEnabled(w->owner))
        next = w->owner;
    for (auto it = ws.topLevel.rbegin(); !next && it != ws.topLevel.rend(); ++it) {
        if (*it != leaving && reallyVisible(*it) && IsWindowEnabled(*it))
            next = *it;
    }
    if (next) {
        activateWindow(next);
        return;
    }
    if (ws.active == leaving) {
        ws.active = nullptr;
        SendMessageW(leaving, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
    }
}

HWND SetFocus(HWND window)
{
    WindowSystem& ws = windowSystem();
    HWND previous = liveWindow(ws.focus) ? ws.focus : nullptr;
    if (!window) {
        ws.focus = nullptr;
        if (previous)
            SendMessageW(previous, WM_KILLFOCUS, 0, 0);
        return previous;
    }
    if (!liveWindow(window))
        return nullptr;
    HWND root = rootWindow(window);
    if (ws.active != root)
        activateWindow(root);
    if (!liveWindow(window))
        return nullptr;
    previous = liveWindow(ws.focus) ? ws.focus : nullptr;
    if (previous == window)
        return previous;
    ws.focus = window;
    if (previous)
        SendMessageW(previous, WM_KILLFOCUS, (WPARAM)window, 0);
    if (ws.focus == window && liveWindow(window))
        SendMessageW(window, WM_SETFOCUS, (WPARAM)previous, 0);
    return previous;
}

HWND GetFocus()
{
    return liveWindow(windowSystem().focus) ? windowSystem().focus : nullptr;
}

HWND GetActiveWindow()
{
    return liveWindow(windowSystem().active) ? windowSystem().active : nullptr;
}

HWND SetActiveWindow(HWND window)
{
    HWND previous = GetActiveWindow();
    if (liveWindow(window))
        activateWindow(rootWindow(window));
    return previous;
}

short GetKeyState(int key)
{
    BYTE state = windowSystem().keyDown[key & 0xFF];
    return short((state & 0x80 ? 0x8000 : 0) | (state & 1));
}
