// zura-sim's hooks of the window system (platform/portable/host.h) over real Win32, so that
// zura-drive runs the same scripts on Windows: the actions become the input a finger or a
// keyboard would give, and the snapshot reads the real window tree back.
// A thread timer is the idle signal: WM_TIMER arrives only when no posted message, input or
// paint waits, in the main loop and in every modal loop alike, so each tick performs one action
// or, with none waiting, asks the script for more.
// Coordinates are the handheld's: desktop coordinates less the main window's origin (the window
// is the handheld's screen, centred on the monitor).
// Differs from zura-sim's platform in: a combo box's line is chosen by CB_SETCURSEL and its
// CBN_SELCHANGE; typed characters arrive as WM_CHAR; a pick in a list box taps the window that
// lies on top at the line's point, as a finger would.
#include "platform/portable/host.h"

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <deque>
#include <set>

namespace {

struct Driver {
    std::deque<PortableAction> actions;
    PortableInputSource source = nullptr;
    void* context = nullptr;
    UINT_PTR timer = 0;
    bool ended = false;
    BYTE keysHeld[256] = {};
    bool releaseKeys = false;
    int waited = 0;
};

Driver& driver()
{
    static Driver d;
    return d;
}

std::u16string toU16(const WCHAR* text, std::size_t length)
{
    return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

std::u16string windowText(HWND window)
{
    LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring buffer(std::size_t(std::max<LRESULT>(length, 0)) + 1, L'\0');
    LRESULT got = SendMessageW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    return toU16(buffer.data(), std::size_t(std::max<LRESULT>(got, 0)));
}

std::u16string className(HWND window)
{
    WCHAR name[64] = {};
    int n = GetClassNameW(window, name, 64);
    std::u16string found = toU16(name, std::size_t(std::max(n, 0)));
    // The built-in classes by their capitalised names, as the portable platform gives them.
    static const char16_t* builtIn[] = {u"BUTTON", u"STATIC", u"EDIT", u"LISTBOX", u"COMBOBOX", u"SCROLLBAR"};
    std::u16string upper = found;
    for (char16_t& c : upper)
        c = char16_t(std::towupper(wint_t(c)));
    for (const char16_t* b : builtIn)
        if (upper == b)
            return upper;
    return found;
}

std::vector<HWND> threadTopWindows()
{
    std::set<HWND> mine;
    EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM into) {
        reinterpret_cast<std::set<HWND>*>(into)->insert(w);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&mine));
    std::vector<HWND> order;   // top of the z order first
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT))
        if (mine.count(w) && className(w) != u"ComboLBox")
            order.push_back(w);
    return order;
}

// The main window: the handheld's screen, whose origin is the origin of every coordinate here.
POINT screenOrigin()
{
    HWND main = FindWindowW(L"CETEMPLATE", nullptr);
    RECT r = {};
    if (main && GetWindowThreadProcessId(main, nullptr) == GetCurrentThreadId())
        GetWindowRect(main, &r);
    return POINT{r.left, r.top};
}

bool isMessageBox(HWND box)
{
    // A message box's text is the static with id 0xFFFF.
    HWND text = GetDlgItem(box, 0xFFFF);
    return text && className(text) == u"STATIC";
}

bool isModal(HWND box)
{
    if (className(box) != u"#32770" || !IsWindowVisible(box))
        return false;
    HWND owner = GetWindow(box, GW_OWNER);
    return !owner || !IsWindowEnabled(owner);
}

void addItems(PortableWindowInfo& info, UINT count, UINT textLength, UINT text)
{
    LRESULT n = SendMessageW(info.window, count, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
        LRESULT length = SendMessageW(info.window, textLength, WPARAM(i), 0);
        std::wstring buffer(std::size_t(std::max<LRESULT>(length, 0)) + 1, L'\0');
        LRESULT got = SendMessageW(info.window, text, WPARAM(i), reinterpret_cast<LPARAM>(buffer.data()));
        info.items.push_back(toU16(buffer.data(), std::size_t(std::max<LRESULT>(got, 0))));
    }
}

PortableWindowInfo describe(HWND w, HWND parent, int depth, int zOrder, POINT origin)
{
    PortableWindowInfo info;
    info.window = w;
    info.parent = parent;
    info.owner = depth == 0 ? GetWindow(w, GW_OWNER) : nullptr;
    info.depth = depth;
    info.zOrder = zOrder;
    info.className = className(w);
    GetWindowRect(w, &info.rect);
    OffsetRect(&info.rect, -origin.x, -origin.y);
    info.visible = IsWindowVisible(w) != FALSE;
    info.enabled = IsWindowEnabled(w) != FALSE;
    info.focused = GetFocus() == w;
    info.modal = depth == 0 && isModal(w);
    info.messageBox = depth == 0 && info.className == u"#32770" && isMessageBox(w);
    info.style = DWORD(GetWindowLongPtrW(w, GWL_STYLE));
    info.exStyle = DWORD(GetWindowLongPtrW(w, GWL_EXSTYLE));
    info.id = depth > 0 ? GetDlgCtrlID(w) : 0;
    info.text = windowText(w);
    info.font = reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0));
    if (info.className == u"BUTTON") {
        info.check = int(SendMessageW(w, BM_GETCHECK, 0, 0));
        info.pushed = (SendMessageW(w, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    } else if (info.className == u"LISTBOX") {
        addItems(info, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
        for (std::size_t i = 0; i < info.items.size(); ++i)
            info.itemSelected.push_back(SendMessageW(w, LB_GETSEL, i, 0) > 0);
        info.selected = int(SendMessageW(w, LB_GETCURSEL, 0, 0));
        info.topIndex = int(SendMessageW(w, LB_GETTOPINDEX, 0, 0));
    } else if (info.className == u"COMBOBOX") {
        addItems(info, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
        info.selected = int(SendMessageW(w, CB_GETCURSEL, 0, 0));
        info.dropped = SendMessageW(w, CB_GETDROPPEDSTATE, 0, 0) != 0;
    } else if (info.className == u"SCROLLBAR") {
        info.hasScroll = true;
        info.scroll.cbSize = sizeof info.scroll;
        info.scroll.fMask = SIF_ALL;
        GetScrollInfo(w, SB_CTL, &info.scroll);
    }
    return info;
}

void addChildren(std::vector<PortableWindowInfo>& out, HWND parent, int depth, POINT origin)
{
    int z = 0;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT), ++z) {
        out.push_back(describe(c, parent, depth, z, origin));
        addChildren(out, c, depth + 1, origin);
    }
}

void postMouse(HWND window, POINT client)
{
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.x, client.y));
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
}

// A tap at a desktop point lands on the window the system finds there: the topmost of
// overlapping siblings, through a plain static (HTTRANSPARENT) to what lies beneath.
void tapAtDesktop(POINT desktop)
{
    HWND window = WindowFromPoint(desktop);
    if (!window || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId())
        return;
    POINT client = desktop;
    ScreenToClient(window, &client);
    postMouse(window, client);
}

void tap(HWND window)
{
    RECT r;
    GetClientRect(window, &r);
    POINT client{r.right / 2, r.bottom / 2};
    // A plain static takes no taps: they land on its parent.
    while (className(window) == u"STATIC" && !(GetWindowLongPtrW(window, GWL_STYLE) & SS_NOTIFY) && GetParent(window)) {
        ClientToScreen(window, &client);
        window = GetParent(window);
        ScreenToClient(window, &client);
    }
    postMouse(window, client);
}

HWND keyTarget(HWND given)
{
    if (given)
        return given;
    return GetFocus() ? GetFocus() : GetActiveWindow();
}

void type(HWND window, const std::u16string& text)
{
    for (char16_t c : text) {
        if (c == 8 || c == u'\r' || c == u'\n') {
            WPARAM key = c == 8 ? VK_BACK : VK_RETURN;
            PostMessageW(window, WM_KEYDOWN, key, 1);
            PostMessageW(window, WM_CHAR, c == 8 ? 8 : 13, 1);
            PostMessageW(window, WM_KEYUP, key, LPARAM(0xC0000001));
        } else {
            PostMessageW(window, WM_CHAR, WPARAM(c), 1);
        }
    }
}

// The accelerator reads the held modifiers from the thread's key state: they stay held until
// the next tick, after the key's messages have been handled.
void keyChord(HWND window, const PortableAction& a)
{
    Driver& d = driver();
    GetKeyboardState(d.keysHeld);
    BYTE held[256];
    std::copy(std::begin(d.keysHeld), std::end(d.keysHeld), held);
    if (a.control)
        held[VK_CONTROL] = held[VK_LCONTROL] = 0x80;
    if (a.shift)
        held[VK_SHIFT] = held[VK_LSHIFT] = 0x80;
    SetKeyboardState(held);
    PostMessageW(window, WM_KEYDOWN, WPARAM(a.code), 1);
    PostMessageW(window, WM_KEYUP, WPARAM(a.code), LPARAM(0xC0000001));
    d.releaseKeys = true;
}

void pick(HWND window, int index)
{
    if (className(window) == u"COMBOBOX") {
        SendMessageW(window, CB_SETCURSEL, WPARAM(index), 0);
        SendMessageW(GetParent(window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(window));
        return;
    }
    if (index < 0 || index >= int(SendMessageW(window, LB_GETCOUNT, 0, 0)))
        return;
    RECT client;
    GetClientRect(window, &client);
    int itemHeight = std::max(1, int(SendMessageW(window, LB_GETITEMHEIGHT, 0, 0)));
    int rows = std::max(1, int(client.bottom) / itemHeight);
    int top = int(SendMessageW(window, LB_GETTOPINDEX, 0, 0));
    if (index < top || index >= top + rows)
        SendMessageW(window, LB_SETTOPINDEX, WPARAM(std::max(0, index - rows + 1)), 0);
    RECT item;
    SendMessageW(window, LB_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&item));
    POINT point{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ClientToScreen(window, &point);
    tapAtDesktop(point);
}

void scroll(HWND bar, int code, int position)
{
    bool control = className(bar) == u"SCROLLBAR";
    HWND to = control ? GetParent(bar) : bar;
    LONG_PTR style = GetWindowLongPtrW(bar, GWL_STYLE);
    bool vertical = control ? (style & SBS_VERT) != 0 : (style & WS_VSCROLL) != 0;
    UINT message = vertical ? WM_VSCROLL : WM_HSCROLL;
    LPARAM from = control ? reinterpret_cast<LPARAM>(bar) : 0;
    if (!to)
        return;
    if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) {
        SCROLLINFO s = {sizeof s, SIF_ALL};
        GetScrollInfo(bar, control ? SB_CTL : SB_VERT, &s);
        int highest = s.nPage ? s.nMax - int(s.nPage) + 1 : s.nMax;
        position = std::clamp(position, s.nMin, std::max(s.nMin, highest));
        SendMessageW(to, message, MAKEWPARAM(SB_THUMBTRACK, position), from);
        if (IsWindow(to))
            SendMessageW(to, message, MAKEWPARAM(SB_THUMBPOSITION, position), from);
    } else {
        SendMessageW(to, message, MAKEWPARAM(code, 0), from);
    }
    if (IsWindow(to))
        SendMessageW(to, message, MAKEWPARAM(SB_ENDSCROLL, 0), from);
}

// An action aimed at a window that is gone, or disabled (as a modal box's owner is), is dropped.
bool takesInput(HWND window)
{
    if (!window || !IsWindow(window))
        return false;
    // Up to the top-level window only: GetParent of a pop-up is its owner.
    for (HWND w = window; w; w = (GetWindowLongPtrW(w, GWL_STYLE) & WS_CHILD) ? GetParent(w) : nullptr)
        if (!IsWindowEnabled(w))
            return false;
    return true;
}

void perform(const PortableAction& a)
{
    POINT origin = screenOrigin();
    if (a.kind == PortableActionKind::TapAt) {
        tapAtDesktop(POINT{a.point.x + origin.x, a.point.y + origin.y});
        return;
    }
    HWND target = a.kind == PortableActionKind::Type || a.kind == PortableActionKind::Key ? keyTarget(a.target) : a.target;
    if (!takesInput(target))
        return;
    switch (a.kind) {
    case PortableActionKind::Tap: tap(target); break;
    case PortableActionKind::Type: type(target, a.text); break;
    case PortableActionKind::Key: keyChord(target, a); break;
    case PortableActionKind::Pick: pick(target, a.index); break;
    case PortableActionKind::Scroll: scroll(target, a.code, a.index); break;
    case PortableActionKind::Close: PostMessageW(target, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    case PortableActionKind::TapAt: break;
    }
}

// A modal dialog is shown only once its loop first finds the queue empty, and a timer can come
// first: the user waits for it to appear.
bool modalBoxNotYetShown()
{
    for (HWND w : threadTopWindows()) {
        HWND owner = GetWindow(w, GW_OWNER);
        if (className(w) == u"#32770" && !IsWindowVisible(w) && owner && !IsWindowEnabled(owner))
            return true;
    }
    return false;
}

void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD)
{
    Driver& d = driver();
    if (d.releaseKeys) {
        SetKeyboardState(d.keysHeld);
        d.releaseKeys = false;
    }
    if (d.ended || modalBoxNotYetShown())
        return;
    // A program started by the user is activated and has the focus before the user acts; the
    // desktop may take a moment to do that for a program started from a console.
    if (!GetFocus() && d.waited < 200) {
        ++d.waited;
        return;
    }
    if (d.actions.empty()) {
        if (!d.source || !d.source(d.context)) {
            // The script is over or failed: end the program's loops, as an exhausted input does.
            d.ended = true;
            PostQuitMessage(0);
            return;
        }
        if (d.actions.empty())
            return;
    }
    PortableAction a = d.actions.front();
    d.actions.pop_front();
    perform(a);
}

}  // namespace

void portablePushAction(const PortableAction& action)
{
    driver().actions.push_back(action);
}

bool portableActionsWaiting()
{
    return !driver().actions.empty();
}

void portableSetInputSource(PortableInputSource source, void* context)
{
    Driver& d = driver();
    d.source = source;
    d.context = context;
    d.ended = false;
    if (source && !d.timer)
        d.timer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, tick);
    if (!source && d.timer) {
        KillTimer(nullptr, d.timer);
        d.timer = 0;
    }
}

// Instruction counts are taken on the portable platform under callgrind; here there are none.
void portableMeasureStart(const char*) {}
void portableMeasureStop() {}

HWND portableModalTop()
{
    for (HWND w : threadTopWindows())
        if (isModal(w))
            return w;
    return nullptr;
}

std::vector<PortableWindowInfo> portableSnapshot()
{
    std::vector<HWND> tops = threadTopWindows();
    std::reverse(tops.begin(), tops.end());
    POINT origin = screenOrigin();
    std::vector<PortableWindowInfo> out;
    for (HWND w : tops) {
        out.push_back(describe(w, nullptr, 0, 0, origin));
        addChildren(out, w, 1, origin);
    }
    return out;
}

void portableResetWindows()
{
    driver().actions.clear();
}

HINSTANCE portableProgramInstance()
{
    return GetModuleHandleW(nullptr);
}

bool portableFontInfo(HFONT font, PortableFontInfo* info)
{
    LOGFONTW f = {};
    if (!font || !GetObjectW(font, sizeof f, &f))
        return false;
    // No serial: the web host, which caches by it, does not run on Windows.
    *info = PortableFontInfo{0, "", "", int(f.lfHeight), f.lfWeight >= FW_SEMIBOLD, f.lfItalic != 0, f.lfUnderline != 0};
    return true;
}

// The handheld's screen as the desktop shows it: the pixels under the main window, read back
// from the screen, so that what lies on top is what the system painted there.
bool portableSaveScreenshot(const char* path)
{
    HWND main = FindWindowW(L"CETEMPLATE", nullptr);
    RECT r = {};
    if (!main || !GetWindowRect(main, &r))
        return false;
    int width = r.right - r.left, height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    bool copied = bitmap && BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    DWORD rowBytes = DWORD((width * 3 + 3) & ~3), imageBytes = rowBytes * DWORD(height);
    BITMAPFILEHEADER file = {0x4D42, DWORD(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)) + imageBytes, 0, 0,
                             DWORD(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER))};
    info.bmiHeader.biSizeImage = imageBytes;
    bool written = false;
    if (copied) {
        if (std::FILE* out = std::fopen(path, "wb")) {
            written = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                      std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
                      std::fwrite(bits, 1, imageBytes, out) == imageBytes;
            written = std::fclose(out) == 0 && written;
        }
    }
    SelectObject(memory, old);
    if (bitmap)
        DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return written;
}
