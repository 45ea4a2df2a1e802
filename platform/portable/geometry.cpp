// Where windows are and what they show: showing, moving, rectangles, texts, window longs and the
// window-tree queries (GetParent, GetDlgItem, FindWindowW).
// Differs from Windows in: the update region is one rectangle (the union of what was
// invalidated); frames are 1 pixel for WS_BORDER, 3 for a dialog frame, captions 20 pixels high;
// a top-level window may not be minimised or maximised; the screen is 240 x 320 pixels.
#include "platform/portable/internal.h"
#include "platform/portable/wnd.h"

#include <algorithm>

HWND rootWindow(HWND window)
{
    PortableWindow* w = liveWindow(window);
    while (w && w->parent && liveWindow(w->parent))
        w = liveWindow(w->parent);
    return w;
}

bool reallyVisible(HWND window)
{
    for (PortableWindow* w = liveWindow(window); w; w = liveWindow(w->parent)) {
        if (!(w->style & WS_VISIBLE))
            return false;
    }
    return liveWindow(window) != nullptr;
}

bool inputEnabled(HWND window)
{
    for (PortableWindow* w = liveWindow(window); w; w = liveWindow(w->parent)) {
        if (w->style & WS_DISABLED)
            return false;
    }
    return liveWindow(window) != nullptr;
}

RECT clientInsets(const PortableWindow& w)
{
    int frame = 0;
    if ((w.style & WS_DLGFRAME) || (w.exStyle & WS_EX_DLGMODALFRAME))
        frame = 3;
    else if (w.style & WS_BORDER)
        frame = 1;
    if (w.exStyle & WS_EX_CLIENTEDGE)
        frame += 2;
    int caption = (w.style & WS_CAPTION) == WS_CAPTION ? captionHeight : 0;
    return RECT{frame, frame + caption, frame, frame};
}

POINT clientOriginOnScreen(HWND window)
{
    POINT p{0, 0};
    for (PortableWindow* w = liveWindow(window); w; w = liveWindow(w->parent)) {
        RECT in = clientInsets(*w);
        p.x += w->rect.left + in.left;
        p.y += w->rect.top + in.top;
    }
    return p;
}

void invalidateWindow(HWND window)
{
    InvalidateRect(window, nullptr, TRUE);
}

void invalidateParentArea(HWND child)
{
    PortableWindow* w = liveWindow(child);
    if (w && w->parent)
        InvalidateRect(w->parent, &w->rect, TRUE);
}

void notifyParent(HWND control, WORD code)
{
    PortableWindow* w = liveWindow(control);
    HWND parent = w ? GetParent(control) : nullptr;
    if (parent)
        SendMessageW(parent, WM_COMMAND, MAKEWPARAM(w->id, code), (LPARAM)control);
}

int copyText(const std::u16string& text, WCHAR* buffer, std::size_t size)
{
    if (!buffer || size == 0)
        return 0;
    std::size_t n = std::min(text.size(), size - 1);
    std::copy(text.begin(), text.begin() + n, buffer);
    buffer[n] = 0;
    return int(n);
}

std::u16string textOf(LPCWSTR text)
{
    return text && !IS_INTRESOURCE(text) ? std::u16string(text) : std::u16string();
}

void setTextOf(std::u16string& to, LPCWSTR text)
{
    if (text && !IS_INTRESOURCE(text))
        to.assign(text);
    else
        to.clear();
}

bool sameTextNoCase(std::u16string_view a, std::u16string_view b)
{
    auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char16_t x, char16_t y) { return lower(x) == lower(y); });
}

BOOL IsWindowVisible(HWND window)
{
    return reallyVisible(window) ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND window)
{
    PortableWindow* w = liveWindow(window);
    return w && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND window, BOOL enable)
{
    PortableWindow* w = liveWindow(window);
    if (!w)
        return FALSE;
    BOOL wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
    if (bool(enable) == !wasDisabled)
        return wasDisabled;
    if (enable) {
        w->style &= ~WS_DISABLED;
    } else {
        w->style |= WS_DISABLED;
        WindowSystem& ws = windowSystem();
        if (ws.focus && (ws.focus == window || IsChild(window, ws.focus)))
            SetFocus(nullptr);
    }
    SendMessageW(window, WM_ENABLE, enable ? TRUE : FALSE, 0);
    invalidateWindow(window);
    return wasDisabled;
}

BOOL ShowWindow(HWND window, int command)
{
    PortableWindow* w = liveWindow(window);
    if (!w)
        return FALSE;
    WindowSystem& ws = windowSystem();
    BOOL wasVisible = (w->style & WS_VISIBLE) ? TRUE : FALSE;
    if (command == SW_HIDE) {
        if (!wasVisible)
            return FALSE;
        SendMessageW(window, WM_SHOWWINDOW, FALSE, 0);
        if (!liveWindow(window))
            return wasVisible;
        w->style &= ~WS_VISIBLE;
        invalidateParentArea(window);
        if (ws.active == window)
            activateAnother(window);
        if (ws.focus && (ws.focus == window || IsChild(window, ws.focus)))
            SetFocus(w->parent);
        return wasVisible;
    }
    if (!wasVisible) {
        SendMessageW(window, WM_SHOWWINDOW, TRUE, 0);
        if (!liveWindow(window))
            return FALSE;
        w->style |= WS_VISIBLE;
        paintMayBeDue(*w);
        invalidateWindow(window);
    }
    bool activate = command != SW_SHOWNA && command != SW_SHOWNOACTIVATE &&
                    command != SW_SHOWMINNOACTIVE && command != SW_MINIMIZE;
    if (!w->parent && activate)
        activateWindow(window);
    return wasVisible;
}

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL)
{
    PortableWindow* w = liveWindow(window);
    if (!w)
        return FALSE;
    RECT client;
    GetClientRect(window, &client);
    RECT r = rect ? *rect : client;
    r.left = std::max(r.left, client.left);
    r.top = std::max(r.top, client.top);
    r.right = std::min(r.right, client.right);
    r.bottom = std::min(r.bottom, client.bottom);
    if (r.right <= r.left || r.bottom <= r.top)
        return TRUE;
    if (!w->needsPaint) {
        w->updateRect = r;
    } else {
        w->updateRect.left = std::min(w->updateRect.left, r.left);
        w->updateRect.top = std::min(w->updateRect.top, r.top);
        w->updateRect.right = std::max(w->updateRect.right, r.right);
        w->updateRect.bottom = std::max(w->updateRect.bottom, r.bottom);
    }
    setNeedsPaint(*w, true);
    return TRUE;
}

// Validating part of the update rectangle removes that part only when what stays is still a
// rectangle (a band along one side); a hole in the middle keeps the whole rectangle.
BOOL ValidateRect(HWND window, const RECT* rect)
{
    PortableWindow* w = liveWindow(window);
    if (!w)
        return FALSE;
    if (!w->needsPaint)
        return TRUE;
    RECT& r = w->updateRect;
    if (!rect || (rect->left <= r.left && rect->top <= r.top && rect->right >= r.right && rect->bottom >= r.bottom)) {
        setNeedsPaint(*w, false);
        return TRUE;
    }
    bool spansWidth = rect->left <= r.left && rect->right >= r.right;
    bool spansHeight = rect->top <= r.top && rect->bottom >= r.bottom;
    if (spansWidth && rect->top <= r.top && rect->bottom > r.top)
        r.top = rect->bottom;
    else if (spansWidth && rect->bottom >= r.bottom && rect->top < r.bottom)
        r.bottom = rect->top;
    else if (spansHeight && rect->left <= r.left && rect->right > r.left)
        r.left = rect->right;
    else if (spansHeight && rect->right >= r.right && rect->left < r.right)
        r.right = rect->left;
    if (r.right <= r.left || r.bottom <= r.top)
        setNeedsPaint(*w, false);
    return TRUE;
}

BOOL UpdateWindow(HWND window)
{
    PortableWindow* w = liveWindow(window);
    if (!w)
        return FALSE;
    if (w->needsPaint && reallyVisible(window)) {
        SendMessageW(window, WM_PAINT, 0, 0);
        if (liveWindow(window))
            setNeedsPaint(*w, false);
    }
    return TRUE;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint)
{
    PortableWindow* w = liveWindow(window);
    if (!w)
        return FALSE;
    if (w->kind == WindowKind::ComboBox) {
        // The height given is the dropped height; the closed box keeps its own.
        w->dropHeight = height;
        height = comboClosedHeight;
    }
    RECT old = w->rect;
    RECT now{x, y, x + std::max(width, 0), y + std::max(height, 0)};
    if (repaint && (w->style & WS_VISIBLE) && w->parent)
        invalidateParentArea(window);
    w->rect = now;
    bool moved = old.left != now.left || old.top != now.top;
    bool sized = old.right - old.left != now.right - now.left || old.bottom - old.top != now.bottom - now.top;
    if (sized) {
        RECT client;
        GetClientRect(window, &client);
        SendMessageW(window, WM_SIZE, 0, MAKELPARAM(client.right, client.bottom));
    }
    if (moved && liveWindow(window)) {
        RECT in = clientInsets(*w);
        SendMessageW(window, WM_MOVE, 0, MAKELPARAM(now.left + in.left, now.top + in.top));
    }
    if (repaint && liveWindow(window))
        invalidateWindow(window);
    return TRUE;
}

BOOL GetWindowRect(HWND window, LPRECT rect)
{
    return portableWindowRect(window, rect) ? TRUE : FALSE;
}

bool portableWindowRect(HWND window, RECT* screenRect)
{
    PortableWindow* w = liveWindow(window);
    if (!w || !screenRect)
        return false;
    POINT origin{0, 0};
    if (w->parent)
        origin = clientOriginOnScreen(w->parent);
    *screenRect = RECT{origin.x + w->rect.left, origin.y + w->rect.top, origin.x + w->rect.right,
                       origin.y + w->rect.bottom};
    return true;
}

HFONT portableWindowFont(HWND window)
{
    PortableWindow* w = liveWindow(window);
    return w ? w->font : nullptr;
}

bool portableWindowUpdateRect(HWND window, RECT* clientRect)
{
    PortableWindow* w = liveWindow(window);
    if (!w || !w->needsPaint)
        return false;
    if (clientRect)
        *clientRect = w->updateRect;
    return true;
}

BOOL GetClientRect(HWND window, LPRECT rect)
{
    PortableWindow* w = liveWindow(window);
    if (!w || !rect)
        return FALSE;
    RECT in = clientInsets(*w);
    LONG width = (w->rect.right - w->rect.left) - in.left - in.right;
    LONG height = (w->rect.bottom - w->rect.top) - in.top - in.bottom;
    *rect = RECT{0, 0, std::max(width, 0L), std::max(height, 0L)};
    return TRUE;
}

BOOL ScreenToClient(HWND window, LPPOINT point)
{
    if (!liveWindow(window) || !point)
        return FALSE;
    POINT o = clientOriginOnScreen(window);
    point->x -= o.x;
    point->y -= o.y;
    return TRUE;
}

BOOL ClientToScreen(HWND window, LPPOINT point)
{
    if (!liveWindow(window) || !point)
        return FALSE;
    POINT o = clientOriginOnScreen(window);
    point->x += o.x;
    point->y += o.y;
    return TRUE;
}

HWND GetParent(HWND window)
{
    PortableWindow* w = liveWindow(window);
    if (!w)
        return nullptr;
    if (w->parent)
        return w->parent;
    // A pop-up's "parent" is its owner.
    return (w->style & WS_POPUP) ? liveWindow(w->owner) : nullptr;
}

BOOL IsChild(HWND parent, HWND window)
{
    for (PortableWindow* w = liveWindow(window); w && w->parent; w = liveWindow(w->parent)) {
        if (w->parent == parent)
            return TRUE;
    }
    return FALSE;
}

namespace {

bool contains(HWND window, POINT screen)
{
    RECT r;
    return portableWindowRect(window, &r) && screen.x >= r.left && screen.x < r.right && screen.y >= r.top &&
           screen.y < r.bottom;
}

// The topmost visible, enabled descendant of window (or window itself) under the point. Of
// overlapping siblings the one made first is on top, as on Windows.
HWND deepestAt(HWND window, POINT screen)
{
    PortableWindow* w = liveWindow(window);
    for (auto it = w->children.begin(); it != w->children.end(); ++it) {
        PortableWindow* c = liveWindow(*it);
        if (c && (c->style & WS_VISIBLE) && !(c->style & WS_DISABLED) && contains(*it, screen))
            return deepestAt(*it, screen);
    }
    return window;
}

}  // namespace

HWND WindowFromPoint(POINT point)
{
    const std::vector<HWND>& z = windowSystem().topLevel;
    for (auto it = z.rbegin(); it != z.rend(); ++it) {
        PortableWindow* w = liveWindow(*it);
        if (w && (w->style & WS_VISIBLE) && contains(*it, point))
            return (w->style & WS_DISABLED) ? nullptr : deepestAt(*it, point);
    }
    return nullptr;
}

HWND GetDlgItem(HWND dialog, int id)
{
    PortableWindow* d = liveWindow(dialog);
    if (!d)
        return nullptr;
    for (HWND child : d->children) {
        if (liveWindow(child) && child->id == (UINT_PTR)(WORD)id)
            return child;
    }
    return nullptr;
}

int GetDlgCtrlID(HWND window)
{
    PortableWindow* w = liveWindow(window);
    return w && w->parent ? int(w->id) : 0;
}

HWND FindWindowW(LPCWSTR className, LPCWSTR windowName)
{
    for (HWND t : windowSystem().topLevel) {
        PortableWindow* w = liveWindow(t);
        if (!w)
            continue;
        bool classMatches = !className ||
                            (IS_INTRESOURCE(className) ? w->windowClass->atom == (ATOM)(ULONG_PTR)className
                                                       : sameTextNoCase(w->windowClass->name, className));
        if (classMatches && (!windowName || w->text == textOf(windowName)))
            return t;
    }
    return nullptr;
}

BOOL SetForegroundWindow(HWND window)
{
    // The handheld's shell brings a window and its owned windows forward when the handle's low
    // bit is set; handles here are aligned, so the bit is simply dropped.
    HWND w = (HWND)((UINT_PTR)window & ~UINT_PTR(1));
    if (!liveWindow(w))
        return FALSE;
    activateWindow(rootWindow(w));
    return TRUE;
}

HWND GetForegroundWindow()
{
    return windowSystem().active;
}

int GetSystemMetrics(int index)
{
    switch (index) {
    case SM_CXSCREEN: return screenWidth;
    case SM_CYSCREEN: return screenHeight;
    case SM_CXVSCROLL: case SM_CYHSCROLL: case SM_CYVSCROLL: case SM_CXHSCROLL: return 13;
    case SM_CYCAPTION: return captionHeight;
    case SM_CXBORDER: case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME: case SM_CYDLGFRAME: return 3;
    default: return 0;
    }
}

BOOL SetWindowTextW(HWND window, LPCWSTR text)
{
    return liveWindow(window) ? (BOOL)SendMessageW(window, WM_SETTEXT, 0, (LPARAM)text) : FALSE;
}

int GetWindowTextW(HWND window, LPWSTR buffer, int size)
{
    if (!liveWindow(window) || !buffer || size <= 0)
        return 0;
    buffer[0] = 0;
    return (int)SendMessageW(window, WM_GETTEXT, (WPARAM)size, (LPARAM)buffer);
}

int GetWindowTextLengthW(HWND window)
{
    return liveWindow(window) ? (int)SendMessageW(window, WM_GETTEXTLENGTH, 0, 0) : 0;
}

BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text)
{
    return SetWindowTextW(GetDlgItem(dialog, id), text);
}

UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int size)
{
    HWND item = GetDlgItem(dialog, id);
    if (!item && buffer && size > 0)
        buffer[0] = 0;
    return (UINT)GetWindowTextW(item, buffer, size);
}

LONG_PTR GetWindowLongPtrW(HWND window, int index)
{
    PortableWindow* w = liveWindow(window);
    if (!w)
        return 0;
    switch (index) {
    case GWL_STYLE: return (LONG_PTR)w->style;
    case GWL_EXSTYLE: return (LONG_PTR)w->exStyle;
    case GWLP_ID: return (LONG_PTR)w->id;
    case GWLP_USERDATA: return w->userData;
    case GWLP_WNDPROC: return (LONG_PTR)w->proc;
    case GWLP_HINSTANCE: return (LONG_PTR)w->instance;
    case GWL_HWNDPARENT: return (LONG_PTR)(w->parent ? w->parent : w->owner);
    case DWLP_MSGRESULT: return w->kind == WindowKind::Dialog ? w->msgResult : 0;
    default: return 0;
    }
}

LONG_PTR SetWindowLongPtrW(HWND window, int index, LONG_PTR value)
{
    PortableWindow* w = liveWindow(window);
    if (!w)
        return 0;
    LONG_PTR old = GetWindowLongPtrW(window, index);
    switch (index) {
    case GWL_STYLE:
        w->style = (DWORD)value;
        paintMayBeDue(*w);
        break;
    case GWL_EXSTYLE: w->exStyle = (DWORD)value; break;
    case GWLP_ID: w->id = (UINT_PTR)value; break;
    case GWLP_USERDATA: w->userData = value; break;
    case GWLP_WNDPROC: if (value) w->proc = (WNDPROC)value; break;
    case GWLP_HINSTANCE: w->instance = (HINSTANCE)value; break;
    case DWLP_MSGRESULT: if (w->kind == WindowKind::Dialog) w->msgResult = value; break;
    default: return 0;
    }
    return old;
}

LONG GetWindowLongW(HWND window, int index)
{
    return (LONG)GetWindowLongPtrW(window, index);
}

LONG SetWindowLongW(HWND window, int index, LONG value)
{
    return (LONG)SetWindowLongPtrW(window, index, value);
}

int GetClassNameW(HWND window, LPWSTR buffer, int size)
{
    PortableWindow* w = liveWindow(window);
    return w && size > 0 ? copyText(w->windowClass->name, buffer, std::size_t(size)) : 0;
}

BOOL SHFullScreen(HWND window, DWORD)
{
    // The handheld's task bar and input panel button do not exist here.
    return liveWindow(window) ? TRUE : FALSE;
}
