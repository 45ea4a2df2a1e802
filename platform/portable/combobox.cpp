// The "COMBOBOX" class as a drop-down list (CBS_DROPDOWNLIST): a closed field showing the chosen
// line, and a list that drops below it. CB_SETCURSEL never notifies; only a user's pick does:
// CBN_SELENDOK, CBN_CLOSEUP, then CBN_SELCHANGE (in Wine's order, also when the line picked was
// already chosen). A tap on the closed field takes the focus and drops the list (CBN_DROPDOWN).
// Differs from Windows in: the closed field is 20 pixels high and list lines 18; the dropped
// list shows every line (no scrolling inside it); simple and editable combo boxes behave as
// drop-down lists.
#include "platform/portable/wnd.h"

namespace {

int count(const PortableWindow& w)
{
    return int(w.items.size());
}

void drop(HWND combo, PortableWindow& w)
{
    if (w.dropped)
        return;
    notifyParent(combo, CBN_DROPDOWN);
    if (!liveWindow(combo))
        return;
    w.dropped = true;
    invalidateWindow(combo);
}

void rollUp(HWND combo, PortableWindow& w, bool picked)
{
    notifyParent(combo, picked ? CBN_SELENDOK : CBN_SELENDCANCEL);
    if (!liveWindow(combo) || !w.dropped)
        return;
    w.dropped = false;
    invalidateWindow(combo);
    notifyParent(combo, CBN_CLOSEUP);
}

LRESULT setCurSel(HWND combo, PortableWindow& w, int index)
{
    invalidateWindow(combo);
    if (index < 0 || index >= count(w)) {
        w.curSel = -1;
        return CB_ERR;
    }
    w.curSel = index;
    return index;
}

// The line of the dropped list at a point of the combo box's client area, or -1.
int lineAt(const PortableWindow& w, LPARAM point)
{
    int y = short(HIWORD(point)) - comboClosedHeight;
    if (y < 0)
        return -1;
    int index = w.topIndex + y / listItemHeight;
    return index < count(w) ? index : -1;
}

void tapDown(HWND combo, PortableWindow& w, LPARAM point)
{
    if (!w.dropped) {
        if (GetFocus() != combo)
            SetFocus(combo);
        if (liveWindow(combo))
            drop(combo, w);
    } else if (short(HIWORD(point)) < comboClosedHeight) {
        rollUp(combo, w, false);
    }
}

void tapUp(HWND combo, PortableWindow& w, LPARAM point)
{
    int index = w.dropped ? lineAt(w, point) : -1;
    if (index < 0)
        return;
    setCurSel(combo, w, index);
    rollUp(combo, w, true);
    if (liveWindow(combo))
        notifyParent(combo, CBN_SELCHANGE);
}

LRESULT deleteLine(HWND combo, PortableWindow& w, int index)
{
    if (index < 0 || index >= count(w))
        return CB_ERR;
    w.items.erase(w.items.begin() + index);
    if (w.curSel == index)
        w.curSel = -1;
    else if (w.curSel > index)
        --w.curSel;
    invalidateWindow(combo);
    return count(w);
}

LRESULT getText(const PortableWindow& w, WPARAM size, WCHAR* buffer)
{
    std::u16string shown = w.curSel >= 0 ? w.items[std::size_t(w.curSel)].text : std::u16string();
    return copyText(shown, buffer, size);
}

}  // namespace

LRESULT CALLBACK comboBoxProc(HWND combo, UINT message, WPARAM wParam, LPARAM lParam)
{
    PortableWindow* w = liveWindow(combo);
    if (!w)
        return 0;
    LPCWSTR text = reinterpret_cast<LPCWSTR>(lParam);
    int index = int(wParam);
    switch (message) {
    case WM_NCCREATE:
        // The height given at creation is the dropped height; the closed field has its own.
        w->dropHeight = w->rect.bottom - w->rect.top;
        w->rect.bottom = w->rect.top + comboClosedHeight;
        w->itemHeight = listItemHeight;
        return DefWindowProcW(combo, message, wParam, lParam);
    case CB_ADDSTRING: invalidateWindow(combo); return listAdd(*w, text, -1, (w->style & CBS_SORT) != 0);
    case CB_INSERTSTRING: invalidateWindow(combo); return listAdd(*w, text, index, false);
    case CB_DELETESTRING: return deleteLine(combo, *w, index);
    case CB_RESETCONTENT:
        w->items.clear();
        w->curSel = -1;
        invalidateWindow(combo);
        return CB_OKAY;
    case CB_SETCURSEL: return setCurSel(combo, *w, index);
    case CB_GETCURSEL: return w->curSel < 0 ? CB_ERR : w->curSel;
    case CB_GETCOUNT: return count(*w);
    case CB_GETLBTEXT: {
        int n = listGetText(*w, index, reinterpret_cast<WCHAR*>(lParam));
        return n < 0 ? CB_ERR : n;
    }
    case CB_GETLBTEXTLEN: {
        int n = listGetText(*w, index, nullptr);
        return n < 0 ? CB_ERR : n;
    }
    case CB_FINDSTRING: return listFind(*w, index, text, false);
    case CB_FINDSTRINGEXACT: return listFind(*w, index, text, true);
    case CB_SELECTSTRING: {
        int found = listFind(*w, index, text, false);
        return found < 0 ? CB_ERR : setCurSel(combo, *w, found);
    }
    case CB_GETITEMDATA: return index >= 0 && index < count(*w) ? w->items[std::size_t(index)].data : CB_ERR;
    case CB_SETITEMDATA:
        if (index < 0 || index >= count(*w))
            return CB_ERR;
        w->items[std::size_t(index)].data = lParam;
        return CB_OKAY;
    case CB_SHOWDROPDOWN:
        if (wParam)
            drop(combo, *w);
        else if (w->dropped)
            rollUp(combo, *w, false);
        return TRUE;
    case CB_GETDROPPEDSTATE: return w->dropped ? TRUE : FALSE;
    case CB_GETITEMHEIGHT: return index == -1 ? comboClosedHeight - 2 : listItemHeight;
    case CB_SETITEMHEIGHT: return CB_OKAY;
    case CB_GETDROPPEDCONTROLRECT:
        if (RECT* r = reinterpret_cast<RECT*>(lParam)) {
            GetWindowRect(combo, r);
            r->bottom = r->top + w->dropHeight;
        }
        return TRUE;
    case WM_GETTEXT: return getText(*w, wParam, reinterpret_cast<WCHAR*>(lParam));
    case WM_GETTEXTLENGTH: return w->curSel >= 0 ? LRESULT(w->items[std::size_t(w->curSel)].text.size()) : 0;
    case WM_SETTEXT: {
        int found = listFind(*w, -1, text, true);
        return found < 0 ? CB_ERR : (setCurSel(combo, *w, found), TRUE);
    }
    case WM_LBUTTONDOWN: tapDown(combo, *w, lParam); return 0;
    case WM_LBUTTONUP: tapUp(combo, *w, lParam); return 0;
    case WM_SETFOCUS: notifyParent(combo, CBN_SETFOCUS); return 0;
    case WM_KILLFOCUS:
        if (w->dropped)
            rollUp(combo, *w, false);
        if (liveWindow(combo))
            notifyParent(combo, CBN_KILLFOCUS);
        return 0;
    case WM_SETFONT:
        w->font = (HFONT)wParam;
        if (LOWORD(lParam))
            invalidateWindow(combo);
        return 0;
    case WM_PAINT: ValidateRect(combo, nullptr); return 0;
    default:
        return DefWindowProcW(combo, message, wParam, lParam);
    }
}
