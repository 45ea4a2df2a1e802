// The handheld's screen on a desktop: see desktop.h.
#include "platform/win32/desktop.h"

#undef GetSystemMetrics
#undef CreateWindowExW
#undef GetDC

HFONT handheldSystemFont()
{
    static HFONT font = [] {
        LOGFONTW f = {};
        f.lfHeight = -11;
        f.lfWeight = FW_NORMAL;
        f.lfCharSet = DEFAULT_CHARSET;
        lstrcpyW(f.lfFaceName, L"Tahoma");
        return CreateFontIndirectW(&f);
    }();
    return font;
}

HWND handheldCreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR text, DWORD style, int x, int y,
                             int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param)
{
    HWND window = CreateWindowExW(exStyle, className, text, style, x, y, width, height, parent, menu, instance, param);
    if (window && (style & WS_CHILD))
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(handheldSystemFont()), FALSE);
    return window;
}

// A context starts with the window's font, as a control's own painting would use it.
HDC handheldGetDC(HWND window)
{
    HDC context = GetDC(window);
    HFONT font = window ? reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)) : nullptr;
    if (context)
        SelectObject(context, font ? font : handheldSystemFont());
    return context;
}

int handheldSystemMetrics(int index)
{
    if (index == SM_CXSCREEN)
        return handheldScreenWidth;
    if (index == SM_CYSCREEN)
        return handheldScreenHeight;
    return ::GetSystemMetrics(index);
}

namespace {

constexpr LONG_PTR frameStyles = WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr LONG_PTR frameExStyles = WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME | WS_EX_STATICEDGE;

RECT monitorOf(HWND window)
{
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info))
        return info.rcMonitor;
    return RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

}  // namespace

// Called on creation and on every activation: it changes the window only when it is not yet a
// frameless handheld screen in the middle of its monitor, so activations do not repaint it.
BOOL SHFullScreen(HWND window, DWORD)
{
    if (!window || !IsWindow(window))
        return FALSE;
    LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    if (style & WS_CHILD)
        return FALSE;
    LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    LONG_PTR plainStyle = (style & ~frameStyles) | WS_POPUP;
    LONG_PTR plainExStyle = exStyle & ~frameExStyles;
    if (plainStyle != style)
        SetWindowLongPtrW(window, GWL_STYLE, plainStyle);
    if (plainExStyle != exStyle)
        SetWindowLongPtrW(window, GWL_EXSTYLE, plainExStyle);
    RECT monitor = monitorOf(window);
    int x = monitor.left + (monitor.right - monitor.left - handheldScreenWidth) / 2;
    int y = monitor.top + (monitor.bottom - monitor.top - handheldScreenHeight) / 2;
    RECT now = {};
    GetWindowRect(window, &now);
    bool placed = now.left == x && now.top == y && now.right - now.left == handheldScreenWidth &&
                  now.bottom - now.top == handheldScreenHeight;
    if (plainStyle != style || plainExStyle != exStyle || !placed)
        SetWindowPos(window, nullptr, x, y, handheldScreenWidth, handheldScreenHeight,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return TRUE;
}
