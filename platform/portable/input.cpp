// User actions from the hosts, turned into the messages the real system would send: a tap is
// WM_LBUTTONDOWN/WM_LBUTTONUP at the middle of the window (or at the point tapped); typing is WM_KEYDOWN/WM_KEYUP per
// character (TranslateMessage makes the WM_CHAR); a key chord holds its modifiers around the
// key; picking a line taps it (dropping a combo box's list first); a scroll bar's command goes
// to its parent as WM_VSCROLL/WM_HSCROLL followed by SB_ENDSCROLL.
// Differs from Windows in: typed characters are VK_PACKET key strokes carrying the character in
// the high word of lParam (backspace and Enter are VK_BACK and VK_RETURN); a tap on a STATIC
// without SS_NOTIFY goes to its parent; a list box to be picked from is first scrolled so the
// line shows, as a user would.
#include "platform/portable/host.h"
#include "platform/portable/wnd.h"

#include <algorithm>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_TOGGLE_COLLECT
#define CALLGRIND_DUMP_STATS_AT(label) ((void)(label))
#endif

namespace {

struct InputSource {
    std::deque<PortableAction> actions;
    PortableInputSource source = nullptr;
    void* context = nullptr;
    DWORD time = 0;
    bool measuring = false;
    std::string measured;   // the label of what is being counted
};

InputSource& inputSource()
{
    static InputSource s;
    return s;
}

void postInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam, POINT screen)
{
    windowSystem().input.push_back(MSG{window, message, wParam, lParam, ++inputSource().time, screen});
}

void tapAt(HWND window, int x, int y)
{
    // A plain static is transparent to taps: they land on the window beneath.
    while (window->kind == WindowKind::Static && !(window->style & SS_NOTIFY) && window->parent) {
        POINT p{x, y};
        ClientToScreen(window, &p);
        window = window->parent;
        ScreenToClient(window, &p);
        x = p.x;
        y = p.y;
    }
    POINT screen{x, y};
    ClientToScreen(window, &screen);
    postInput(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y), screen);
    postInput(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y), screen);
}

void tap(HWND window)
{
    RECT r;
    GetClientRect(window, &r);
    tapAt(window, r.right / 2, r.bottom / 2);
}

void tapAtPoint(POINT screen)
{
    HWND window = WindowFromPoint(screen);
    if (!window)
        return;
    POINT client = screen;
    ScreenToClient(window, &client);
    tapAt(window, client.x, client.y);
}

HWND keyTarget(HWND given)
{
    if (given)
        return given;
    return GetFocus() ? GetFocus() : GetActiveWindow();
}

void postKey(HWND window, WPARAM key, LPARAM extra)
{
    POINT none{0, 0};
    postInput(window, WM_KEYDOWN, key, 1 | extra, none);
    postInput(window, WM_KEYUP, key, LPARAM(0xC0000001) | extra, none);
}

void type(HWND window, const std::u16string& text)
{
    for (char16_t c : text) {
        if (c == 8)
            postKey(window, VK_BACK, 0);
        else if (c == u'\r' || c == u'\n')
            postKey(window, VK_RETURN, 0);
        else
            postKey(window, VK_PACKET, LPARAM(c) << 16);
    }
}

void keyChord(HWND window, const PortableAction& a)
{
    POINT none{0, 0};
    if (a.control)
        postInput(window, WM_KEYDOWN, VK_CONTROL, 1, none);
    if (a.shift)
        postInput(window, WM_KEYDOWN, VK_SHIFT, 1, none);
    postKey(window, WPARAM(a.code), 0);
    if (a.shift)
        postInput(window, WM_KEYUP, VK_SHIFT, LPARAM(0xC0000001), none);
    if (a.control)
        postInput(window, WM_KEYUP, VK_CONTROL, LPARAM(0xC0000001), none);
}

void pick(HWND window, int index)
{
    PortableWindow& w = *window;
    RECT r;
    GetClientRect(window, &r);
    if (index < 0 || index >= int(w.items.size()))
        return;
    if (w.kind == WindowKind::ComboBox) {
        if (!w.dropped)
            tapAt(window, r.right / 2, comboClosedHeight / 2);
        tapAt(window, r.right / 2, comboClosedHeight + index * listItemHeight + listItemHeight / 2);
        return;
    }
    int rows = std::max(1, int(r.bottom) / std::max(1, w.itemHeight));
    if (index < w.topIndex || index >= w.topIndex + rows)
        w.topIndex = std::max(0, index - rows + 1);
    tapAt(window, r.right / 2, (index - w.topIndex) * w.itemHeight + w.itemHeight / 2);
}

void scroll(HWND window, int code, int position)
{
    PortableWindow& w = *window;
    bool control = w.kind == WindowKind::ScrollBar;
    HWND to = control ? GetParent(window) : window;
    bool vertical = control ? (w.style & SBS_VERT) != 0 : (w.style & WS_VSCROLL) != 0;
    UINT message = vertical ? WM_VSCROLL : WM_HSCROLL;
    LPARAM from = control ? (LPARAM)window : 0;
    if (!to)
        return;
    if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) {
        SCROLLINFO& s = w.scroll;
        int highest = s.nPage ? s.nMax - int(s.nPage) + 1 : s.nMax;
        position = std::clamp(position, s.nMin, std::max(s.nMin, highest));
        s.nTrackPos = position;
        SendMessageW(to, message, MAKEWPARAM(SB_THUMBTRACK, position), from);
        if (liveWindow(to))
            SendMessageW(to, message, MAKEWPARAM(SB_THUMBPOSITION, position), from);
    } else {
        SendMessageW(to, message, MAKEWPARAM(code, 0), from);
    }
    if (liveWindow(to))
        SendMessageW(to, message, MAKEWPARAM(SB_ENDSCROLL, 0), from);
}

void perform(const PortableAction& a)
{
    if (a.kind == PortableActionKind::TapAt) {
        tapAtPoint(a.point);
        return;
    }
    HWND target = a.kind == PortableActionKind::Type || a.kind == PortableActionKind::Key ? keyTarget(a.target)
                                                                                         : a.target;
    if (!liveWindow(target) || !inputEnabled(target))
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

}  // namespace

void portableMeasureStart(const char* label)
{
    InputSource& s = inputSource();
    portableMeasureStop();
    s.measured = label ? label : "";
    s.measuring = true;
    CALLGRIND_TOGGLE_COLLECT;
}

void portableMeasureStop()
{
    InputSource& s = inputSource();
    if (!s.measuring)
        return;
    CALLGRIND_DUMP_STATS_AT(s.measured.c_str());
    CALLGRIND_TOGGLE_COLLECT;
    s.measuring = false;
}

// Performs the next action, asking the source for more when none waits; false when the source
// has nothing more to give. Called only when the program has nothing else to do, so the
// previous action is complete here, its screen repainted.
bool pullUserAction()
{
    InputSource& s = inputSource();
    portableMeasureStop();
    if (s.actions.empty()) {
        if (!s.source || !s.source(s.context))
            return false;
        if (s.actions.empty())
            return true;
    }
    PortableAction a = s.actions.front();
    s.actions.pop_front();
    portableMeasureStart(a.label.c_str());
    perform(a);
    return true;
}

void portablePushAction(const PortableAction& action)
{
    inputSource().actions.push_back(action);
}

bool portableActionsWaiting()
{
    return !inputSource().actions.empty();
}

void portableSetInputSource(PortableInputSource source, void* context)
{
    inputSource().source = source;
    inputSource().context = context;
}

void resetInput()
{
    InputSource& s = inputSource();
    s.actions.clear();
    s.source = nullptr;
    s.context = nullptr;
}

HWND portableModalTop()
{
    auto& stack = windowSystem().modalStack;
    for (auto it = stack.rbegin(); it != stack.rend(); ++it)
        if (liveWindow(*it))
            return *it;
    return nullptr;
}

HINSTANCE portableProgramInstance()
{
    static char instance;
    return reinterpret_cast<HINSTANCE>(&instance);
}
