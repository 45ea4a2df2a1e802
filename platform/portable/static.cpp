// The "STATIC" class: a text; with SS_NOTIFY a tap notifies the parent with STN_CLICKED.
// Differs from Windows in: a tap on a static without SS_NOTIFY goes to its parent (Windows
// passes it through by hit-testing); the static draws nothing itself.
#include "platform/portable/wnd.h"

LRESULT CALLBACK staticProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    PortableWindow* w = liveWindow(control);
    if (!w)
        return 0;
    switch (message) {
    case WM_SETFONT:
        w->font = (HFONT)wParam;
        if (LOWORD(lParam))
            invalidateWindow(control);
        return 0;
    case WM_LBUTTONDOWN:
        if (w->style & SS_NOTIFY)
            notifyParent(control, STN_CLICKED);
        return 0;
    case WM_PAINT:
        ValidateRect(control, nullptr);
        return 0;
    default:
        return DefWindowProcW(control, message, wParam, lParam);
    }
}
