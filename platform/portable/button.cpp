// The "BUTTON" class: push buttons, check boxes (BS_AUTOCHECKBOX toggles on a tap) and
// owner-drawn buttons (the parent draws them on WM_DRAWITEM, with ODS_SELECTED while pressed).
// A change of state (pressed, focused, checked) invalidates the button; it is drawn when it is
// painted, as it then is, so a press and release handled before the next paint draw it once.
// A tap is WM_LBUTTONDOWN (focus, pressed) then WM_LBUTTONUP (released, toggled, BN_CLICKED).
// Differs from Windows in: the button draws nothing itself; an owner-drawn one is not drawn at
// once on a press or a focus change (always ODA_DRAWENTIRE, at its paint); radio groups are not
// unchecked together; no default-button border changes.
#include "platform/portable/wnd.h"

namespace {

DWORD buttonType(const PortableWindow& w)
{
    return w.style & BS_TYPEMASK;
}

bool hasCheck(const PortableWindow& w)
{
    switch (buttonType(w)) {
    case BS_CHECKBOX: case BS_AUTOCHECKBOX: case BS_RADIOBUTTON: case BS_3STATE: case BS_AUTO3STATE:
    case BS_AUTORADIOBUTTON:
        return true;
    default:
        return false;
    }
}

void drawItem(HWND button)
{
    PortableWindow* w = liveWindow(button);
    HWND parent = GetParent(button);
    if (!w || !parent)
        return;
    UINT state = (w->pushed ? ODS_SELECTED : 0) | (GetFocus() == button ? ODS_FOCUS : 0) |
                 ((w->style & WS_DISABLED) ? ODS_DISABLED : 0);
    DRAWITEMSTRUCT dis{ODT_BUTTON, UINT(w->id), 0, ODA_DRAWENTIRE, state, button, GetDC(button), {}, 0};
    GetClientRect(button, &dis.rcItem);
    SendMessageW(parent, WM_DRAWITEM, w->id, (LPARAM)&dis);
    if (dis.hDC)
        ReleaseDC(button, dis.hDC);
}

void press(HWND button, PortableWindow& w)
{
    SetFocus(button);
    w.captured = true;
    SendMessageW(button, BM_SETSTATE, TRUE, 0);
}

void release(HWND button, PortableWindow& w, bool inside)
{
    if (!w.captured)
        return;
    w.captured = false;
    if (!w.pushed)
        return;
    SendMessageW(button, BM_SETSTATE, FALSE, 0);
    if (!inside || !liveWindow(button))
        return;
    DWORD type = buttonType(w);
    if (type == BS_AUTOCHECKBOX)
        SendMessageW(button, BM_SETCHECK, w.check ? BST_UNCHECKED : BST_CHECKED, 0);
    else if (type == BS_AUTORADIOBUTTON)
        SendMessageW(button, BM_SETCHECK, BST_CHECKED, 0);
    else if (type == BS_AUTO3STATE)
        SendMessageW(button, BM_SETCHECK, (w.check + 1) % 3, 0);
    notifyParent(button, BN_CLICKED);
}

bool pointInside(HWND button, LPARAM lParam)
{
    RECT r;
    GetClientRect(button, &r);
    int x = short(LOWORD(lParam)), y = short(HIWORD(lParam));
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

LRESULT setCheck(HWND button, PortableWindow& w, WPARAM value)
{
    if (!hasCheck(w))
        return 0;
    DWORD type = buttonType(w);
    int most = (type == BS_3STATE || type == BS_AUTO3STATE) ? BST_INDETERMINATE : BST_CHECKED;
    int check = int(value) > most ? most : int(value);
    if (check != w.check) {
        w.check = check;
        invalidateWindow(button);
    }
    return 0;
}

LRESULT setState(HWND button, PortableWindow& w, bool pushed)
{
    if (pushed == w.pushed)
        return 0;
    w.pushed = pushed;
    invalidateWindow(button);
    return 0;
}

void focusChanged(HWND button, PortableWindow& w, bool gained)
{
    invalidateWindow(button);
    if (w.style & BS_NOTIFY)
        notifyParent(button, gained ? BN_SETFOCUS : BN_KILLFOCUS);
    if (!gained && liveWindow(button) && w.captured) {
        w.captured = false;
        SendMessageW(button, BM_SETSTATE, FALSE, 0);
    }
}

}  // namespace

LRESULT CALLBACK buttonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam)
{
    PortableWindow* w = liveWindow(button);
    if (!w)
        return 0;
    switch (message) {
    case WM_SETFONT:
        w->font = (HFONT)wParam;
        if (LOWORD(lParam))
            invalidateWindow(button);
        return 0;
    case WM_PAINT:
        if (buttonType(*w) == BS_OWNERDRAW && reallyVisible(button))
            drawItem(button);
        ValidateRect(button, nullptr);
        return 0;
    case WM_SETFOCUS: focusChanged(button, *w, true); return 0;
    case WM_KILLFOCUS: focusChanged(button, *w, false); return 0;
    case WM_LBUTTONDOWN: press(button, *w); return 0;
    case WM_LBUTTONUP: release(button, *w, pointInside(button, lParam)); return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE)
            press(button, *w);
        return 0;
    case WM_KEYUP:
        if (wParam == VK_SPACE)
            release(button, *w, true);
        return 0;
    case BM_GETCHECK: return hasCheck(*w) ? w->check : 0;
    case BM_SETCHECK: return setCheck(button, *w, wParam);
    case BM_GETSTATE:
        return (hasCheck(*w) ? w->check : 0) | (w->pushed ? BST_PUSHED : 0) |
               (GetFocus() == button ? BST_FOCUS : 0);
    case BM_SETSTATE: return setState(button, *w, wParam != 0);
    case BM_SETSTYLE:
        w->style = (w->style & ~BS_TYPEMASK) | (DWORD(wParam) & BS_TYPEMASK);
        if (LOWORD(lParam))
            invalidateWindow(button);
        return 0;
    case BM_CLICK:
        SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        SendMessageW(button, WM_LBUTTONUP, 0, 0);
        return 0;
    default:
        return DefWindowProcW(button, message, wParam, lParam);
    }
}
