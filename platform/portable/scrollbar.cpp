// The "SCROLLBAR" class and SetScrollInfo/GetScrollInfo: a range, a page and a position, the
// position kept within [min, max - page + 1]. The control never moves itself: a user's scroll
// only sends WM_VSCROLL (WM_HSCROLL) to the parent, and the parent sets the new position.
// Differs from Windows in: the scroll bar draws nothing itself; a window's own WS_VSCROLL and
// WS_HSCROLL bars share one state.
#include "platform/portable/wnd.h"

#include <algorithm>

int applyScrollInfo(SCROLLINFO& s, const SCROLLINFO& info)
{
    if (info.fMask & SIF_RANGE) {
        s.nMin = info.nMin;
        s.nMax = std::max(info.nMin, info.nMax);
    }
    if (info.fMask & SIF_PAGE)
        s.nPage = info.nPage;
    UINT span = UINT(s.nMax - s.nMin + 1);
    s.nPage = std::min(s.nPage, span);
    if (info.fMask & SIF_POS)
        s.nPos = info.nPos;
    int highest = s.nPage ? s.nMax - int(s.nPage) + 1 : s.nMax;
    s.nPos = std::clamp(s.nPos, s.nMin, std::max(s.nMin, highest));
    return s.nPos;
}

void readScrollInfo(const SCROLLINFO& s, SCROLLINFO& info)
{
    if (info.fMask & SIF_RANGE) {
        info.nMin = s.nMin;
        info.nMax = s.nMax;
    }
    if (info.fMask & SIF_PAGE)
        info.nPage = s.nPage;
    if (info.fMask & SIF_POS)
        info.nPos = s.nPos;
    if (info.fMask & SIF_TRACKPOS)
        info.nTrackPos = s.nTrackPos;
}

int SetScrollInfo(HWND window, int bar, LPCSCROLLINFO info, BOOL redraw)
{
    PortableWindow* w = liveWindow(window);
    if (!w || !info)
        return 0;
    if (bar == SB_CTL && w->kind != WindowKind::ScrollBar)
        return 0;
    int pos = applyScrollInfo(w->scroll, *info);
    if (redraw)
        invalidateWindow(window);
    return pos;
}

BOOL GetScrollInfo(HWND window, int bar, LPSCROLLINFO info)
{
    PortableWindow* w = liveWindow(window);
    if (!w || !info || (bar == SB_CTL && w->kind != WindowKind::ScrollBar))
        return FALSE;
    readScrollInfo(w->scroll, *info);
    return TRUE;
}

LRESULT CALLBACK scrollBarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam)
{
    PortableWindow* w = liveWindow(bar);
    if (!w)
        return 0;
    switch (message) {
    case SBM_SETSCROLLINFO: return SetScrollInfo(bar, SB_CTL, reinterpret_cast<LPCSCROLLINFO>(lParam), BOOL(wParam));
    case SBM_GETSCROLLINFO: return GetScrollInfo(bar, SB_CTL, reinterpret_cast<LPSCROLLINFO>(lParam));
    case SBM_SETPOS: {
        int old = w->scroll.nPos;
        SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, int(wParam), 0};
        SetScrollInfo(bar, SB_CTL, &info, BOOL(lParam));
        return old;
    }
    case SBM_GETPOS: return w->scroll.nPos;
    case SBM_SETRANGE: {
        int old = w->scroll.nPos;
        SCROLLINFO info{sizeof info, SIF_RANGE, int(wParam), int(lParam), 0, 0, 0};
        SetScrollInfo(bar, SB_CTL, &info, FALSE);
        return old;
    }
    case SBM_GETRANGE:
        if (wParam)
            *reinterpret_cast<int*>(wParam) = w->scroll.nMin;
        if (lParam)
            *reinterpret_cast<int*>(lParam) = w->scroll.nMax;
        return 0;
    case WM_PAINT: ValidateRect(bar, nullptr); return 0;
    default:
        return DefWindowProcW(bar, message, wParam, lParam);
    }
}
