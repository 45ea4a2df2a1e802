// DefWindowProcW: what a window does with a message its procedure leaves to the system.
// Differs from Windows in: no non-client messages, menus, cursors or system menu; WM_PAINT only
// validates (drawing is left to the graphics half and to the window procedures).
#include "platform/portable/wnd.h"

LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    PortableWindow* w = liveWindow(window);
    if (!w)
        return 0;
    switch (message) {
    case WM_NCCREATE: {
        const CREATESTRUCTW* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        if (cs)
            setTextOf(w->text, cs->lpszName);
        return TRUE;
    }
    case WM_SETTEXT:
        setTextOf(w->text, reinterpret_cast<LPCWSTR>(lParam));
        invalidateWindow(window);
        return TRUE;
    case WM_GETTEXT:
        return copyText(w->text, reinterpret_cast<WCHAR*>(lParam), wParam);
    case WM_GETTEXTLENGTH:
        return LRESULT(w->text.size());
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE)
            SendMessageW(window, WM_CLOSE, 0, 0);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE)
            SetFocus(window);
        return 0;
    case WM_PAINT:
        ValidateRect(window, nullptr);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_GETFONT:
        return (LRESULT)w->font;
    case WM_CTLCOLORBTN: case WM_CTLCOLORDLG: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC:
        return 0;
    default:
        return 0;
    }
}
