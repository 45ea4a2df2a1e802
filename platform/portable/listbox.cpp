// The "LISTBOX" class: lines of text, one (or, with LBS_EXTENDEDSEL/LBS_MULTIPLESEL, several)
// selected. A tap selects the line under the finger and, with LBS_NOTIFY, sends LBN_SELCHANGE
// when the finger lifts (also when the line was already selected, as Windows does).
// As Windows documents, LB_SETCURSEL fails (LB_ERR) on a multiple-selection list, and
// LB_GETCURSEL there gives the caret line (the line last tapped).
// A line is as high as the list's font (its tmHeight), as Windows makes it, until LB_SETITEMHEIGHT.
// Differs from Windows in: no owner-drawn or multi-column lists.
#include "platform/portable/wnd.h"

#include <algorithm>

namespace {

// Windows gives a list's lines the height of its font whenever the font is set.
int fontLineHeight(HWND list, HFONT font)
{
    HDC dc = GetDC(list);
    if (!dc)
        return listItemHeight;
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    TEXTMETRICW metrics = {};
    BOOL measured = GetTextMetricsW(dc, &metrics);
    if (old)
        SelectObject(dc, old);
    ReleaseDC(list, dc);
    return measured && metrics.tmHeight > 0 ? int(metrics.tmHeight) : listItemHeight;
}

bool multiSelect(const PortableWindow& w)
{
    return (w.style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) && !(w.style & LBS_NOSEL);
}

int count(const PortableWindow& w)
{
    return int(w.items.size());
}

int visibleRows(HWND list, const PortableWindow& w)
{
    RECT r;
    GetClientRect(list, &r);
    return std::max(1, int(r.bottom) / std::max(1, w.itemHeight));
}

void showLine(HWND list, PortableWindow& w, int index)
{
    int rows = visibleRows(list, w);
    if (index < w.topIndex)
        w.topIndex = index;
    else if (index >= w.topIndex + rows)
        w.topIndex = index - rows + 1;
}

void clearSelection(PortableWindow& w)
{
    for (ListItem& item : w.items)
        item.selected = false;
    w.curSel = -1;
}

LRESULT setCurSel(HWND list, PortableWindow& w, int index)
{
    if (multiSelect(w))
        return LB_ERR;
    if (index == -1) {
        w.curSel = -1;
        invalidateWindow(list);
        return LB_ERR;
    }
    if (index < 0 || index >= count(w))
        return LB_ERR;
    w.curSel = index;
    w.focusItem = index;
    showLine(list, w, index);
    invalidateWindow(list);
    return index;
}

LRESULT getCurSel(const PortableWindow& w)
{
    if (count(w) == 0)
        return LB_ERR;
    if (!multiSelect(w))
        return w.curSel < 0 ? LB_ERR : w.curSel;
    return w.focusItem;
}

LRESULT setSel(HWND list, PortableWindow& w, bool select, int index)
{
    if (!multiSelect(w) || index < -1 || index >= count(w))
        return LB_ERR;
    for (int i = 0; i < count(w); ++i)
        if (index == -1 || i == index)
            w.items[std::size_t(i)].selected = select;
    if (select && index != -1) {
        w.focusItem = index;   // selecting a line also gives it the caret, as in Wine
        showLine(list, w, index);
    }
    invalidateWindow(list);
    return 0;
}

LRESULT selCount(const PortableWindow& w)
{
    if (!multiSelect(w))
        return LB_ERR;
    return std::count_if(w.items.begin(), w.items.end(), [](const ListItem& i) { return i.selected; });
}

LRESULT selItems(const PortableWindow& w, int most, int* out)
{
    if (!multiSelect(w))
        return LB_ERR;
    int n = 0;
    for (int i = 0; i < count(w) && n < most; ++i)
        if (w.items[std::size_t(i)].selected && out)
            out[n++] = i;
    return n;
}

LRESULT deleteLine(HWND list, PortableWindow& w, int index)
{
    if (index < 0 || index >= count(w))
        return LB_ERR;
    w.items.erase(w.items.begin() + index);
    if (w.curSel == index)
        w.curSel = -1;
    else if (w.curSel > index)
        --w.curSel;
    if (w.focusItem >= count(w))
        w.focusItem = std::max(0, count(w) - 1);
    invalidateWindow(list);
    return count(w);
}

void tapDown(HWND list, PortableWindow& w, LPARAM point)
{
    if (GetFocus() != list)
        SetFocus(list);
    if (!liveWindow(list))
        return;
    int y = short(HIWORD(point));
    int index = y < 0 ? -1 : w.topIndex + y / std::max(1, w.itemHeight);
    if (index < 0 || index >= count(w))
        return;
    w.captured = true;
    if (multiSelect(w)) {
        clearSelection(w);
        w.items[std::size_t(index)].selected = true;
    } else {
        w.curSel = index;
    }
    w.focusItem = index;
    invalidateWindow(list);
}

void tapUp(HWND list, PortableWindow& w)
{
    if (!w.captured)
        return;
    w.captured = false;
    if ((w.style & LBS_NOTIFY) && count(w))
        notifyParent(list, LBN_SELCHANGE);
}

LRESULT itemRect(HWND list, const PortableWindow& w, int index, RECT* r)
{
    if (index < 0 || index >= count(w) || !r)
        return LB_ERR;
    RECT client;
    GetClientRect(list, &client);
    *r = RECT{0, (index - w.topIndex) * w.itemHeight, client.right, (index - w.topIndex + 1) * w.itemHeight};
    return 1;
}

}  // namespace

LRESULT CALLBACK listBoxProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    PortableWindow* w = liveWindow(list);
    if (!w)
        return 0;
    LPCWSTR text = reinterpret_cast<LPCWSTR>(lParam);
    int index = int(wParam);
    switch (message) {
    case WM_NCCREATE:
        w->itemHeight = fontLineHeight(list, nullptr);
        return DefWindowProcW(list, message, wParam, lParam);
    case LB_ADDSTRING: invalidateWindow(list); return listAdd(*w, text, -1, (w->style & LBS_SORT) != 0);
    case LB_INSERTSTRING: invalidateWindow(list); return listAdd(*w, text, index, false);
    case LB_DELETESTRING: return deleteLine(list, *w, index);
    case LB_RESETCONTENT:
        w->items.clear();
        w->curSel = -1;
        w->focusItem = 0;
        w->topIndex = 0;
        invalidateWindow(list);
        return 0;
    case LB_SETCURSEL: return setCurSel(list, *w, index);
    case LB_GETCURSEL: return getCurSel(*w);
    case LB_GETCOUNT: return count(*w);
    case LB_GETTEXT: return listGetText(*w, index, reinterpret_cast<WCHAR*>(lParam));
    case LB_GETTEXTLEN: return listGetText(*w, index, nullptr);
    case LB_GETITEMDATA: return index >= 0 && index < count(*w) ? w->items[std::size_t(index)].data : LB_ERR;
    case LB_SETITEMDATA:
        if (index < 0 || index >= count(*w))
            return LB_ERR;
        w->items[std::size_t(index)].data = lParam;
        return 0;
    case LB_SETSEL: return setSel(list, *w, wParam != 0, int(lParam));
    case LB_GETSEL:
        if (index < 0 || index >= count(*w))
            return LB_ERR;
        return multiSelect(*w) ? w->items[std::size_t(index)].selected : index == w->curSel;
    case LB_GETSELCOUNT: return selCount(*w);
    case LB_GETSELITEMS: return selItems(*w, index, reinterpret_cast<int*>(lParam));
    case LB_GETTOPINDEX: return w->topIndex;
    case LB_SETTOPINDEX:
        if (index < 0 || (index >= count(*w) && count(*w) > 0))
            return LB_ERR;
        w->topIndex = index;
        invalidateWindow(list);
        return 0;
    case LB_GETITEMHEIGHT: return w->itemHeight;
    case LB_SETITEMHEIGHT:
        if (LOWORD(lParam) == 0 || LOWORD(lParam) > 255)
            return LB_ERR;
        w->itemHeight = LOWORD(lParam);
        return 0;
    case LB_FINDSTRING: return listFind(*w, index, text, false);
    case LB_FINDSTRINGEXACT: return listFind(*w, index, text, true);
    case LB_SELECTSTRING: {
        int found = listFind(*w, index, text, false);
        return found < 0 ? LB_ERR : setCurSel(list, *w, found);
    }
    case LB_GETCARETINDEX: return w->focusItem;
    case LB_SETCARETINDEX:
        if (index < 0 || index >= count(*w))
            return LB_ERR;
        w->focusItem = index;
        showLine(list, *w, index);
        return 0;
    case LB_GETITEMRECT: return itemRect(list, *w, index, reinterpret_cast<RECT*>(lParam));
    case WM_LBUTTONDOWN: tapDown(list, *w, lParam); return 0;
    case WM_LBUTTONUP: tapUp(list, *w); return 0;
    case WM_SETFOCUS:
        if (w->style & LBS_NOTIFY)
            notifyParent(list, LBN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        if (w->style & LBS_NOTIFY)
            notifyParent(list, LBN_KILLFOCUS);
        return 0;
    case WM_SETFONT:
        w->font = (HFONT)wParam;
        w->itemHeight = fontLineHeight(list, w->font);
        if (LOWORD(lParam))
            invalidateWindow(list);
        return 0;
    case WM_PAINT: ValidateRect(list, nullptr); return 0;
    default:
        return DefWindowProcW(list, message, wParam, lParam);
    }
}
