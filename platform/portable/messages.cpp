// Messages and the message loop: SendMessageW calls the window procedure at once; PostMessageW
// queues. GetMessageW takes, in this order, posted messages, input (mouse and keys), WM_QUIT,
// WM_PAINT for a window waiting to be painted; with nothing left it asks the input source.
// Differs from Windows in: no timers and no other threads; a WM_PAINT is not repeated for a
// window whose handler does not validate it; when the input source has nothing more to give,
// GetMessageW returns WM_QUIT (exit code 0), so every loop ends.
#include "platform/portable/wnd.h"

#include <algorithm>

bool pullUserAction();   // input.cpp

namespace {

bool matches(const MSG& m, HWND window, UINT first, UINT last)
{
    if (window && m.hwnd != window && !IsChild(window, m.hwnd))
        return false;
    if (first == 0 && last == 0)
        return true;
    return m.message >= first && m.message <= last;
}

bool takeFrom(std::deque<MSG>& queue, MSG* out, HWND window, UINT first, UINT last, bool remove)
{
    for (auto it = queue.begin(); it != queue.end(); ++it) {
        if (matches(*it, window, first, last)) {
            *out = *it;
            if (remove)
                queue.erase(it);
            return true;
        }
    }
    return false;
}

HWND windowToPaint(HWND window)
{
    PortableWindow* w = liveWindow(window);
    if (!w || !(w->style & WS_VISIBLE) || w->paintBelow == 0)
        return nullptr;
    if (w->needsPaint)
        return window;
    // Children with nothing visible to paint below them stay skipped until something below them
    // waits or is shown (paintMayBeDue).
    for (std::size_t i = w->paintScanFrom; i < w->children.size(); ++i) {
        if (HWND found = windowToPaint(w->children[i]))
            return found;
        if (i == w->paintScanFrom)
            w->paintScanFrom++;
    }
    return nullptr;
}

// Input messages update the key state and activate the window tapped as they are taken.
void noteInput(const MSG& m)
{
    WindowSystem& ws = windowSystem();
    if (m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN) {
        BYTE& k = ws.keyDown[m.wParam & 0xFF];
        k = BYTE((k & 0x80) ? k : ((k ^ 1) | 0x80));
    } else if (m.message == WM_KEYUP || m.message == WM_SYSKEYUP) {
        ws.keyDown[m.wParam & 0xFF] &= BYTE(~0x80);
    } else if (m.message == WM_LBUTTONDOWN) {
        HWND root = rootWindow(m.hwnd);
        if (root && ws.active != root)
            activateWindow(root);
    }
}

bool peek(MSG* out, HWND window, UINT first, UINT last, bool remove, bool mayWait)
{
    WindowSystem& ws = windowSystem();
    for (;;) {
        if (takeFrom(ws.posted, out, window, first, last, remove))
            return true;
        if (takeFrom(ws.input, out, window, first, last, remove)) {
            if (remove)
                noteInput(*out);
            return true;
        }
        if (ws.quitPending) {
            *out = MSG{nullptr, WM_QUIT, (WPARAM)ws.quitCode, 0, 0, {0, 0}};
            if (remove)
                ws.quitPending = false;
            return true;
        }
        for (HWND t : ws.topLevel) {
            HWND paint = windowToPaint(t);
            if (paint && matches(MSG{paint, WM_PAINT, 0, 0, 0, {0, 0}}, window, first, last)) {
                *out = MSG{paint, WM_PAINT, 0, 0, 0, {0, 0}};
                return true;
            }
        }
        if (!mayWait)
            return false;
        if (!pullUserAction()) {
            *out = MSG{nullptr, WM_QUIT, 0, 0, 0, {0, 0}};
            return true;
        }
    }
}

}  // namespace

LRESULT CallWindowProcW(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return procedure ? procedure(window, message, wParam, lParam) : 0;
}

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    PortableWindow* w = liveWindow(window);
    if (!w || !w->proc)
        return 0;
    return w->proc(window, message, wParam, lParam);
}

LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam)
{
    return SendMessageW(GetDlgItem(dialog, id), message, wParam, lParam);
}

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (window && !liveWindow(window))
        return FALSE;
    windowSystem().posted.push_back(MSG{window, message, wParam, lParam, 0, {0, 0}});
    return TRUE;
}

void PostQuitMessage(int exitCode)
{
    WindowSystem& ws = windowSystem();
    ws.quitPending = true;
    ws.quitCode = exitCode;
}

BOOL GetMessageW(LPMSG message, HWND window, UINT first, UINT last)
{
    if (!message)
        return -1;
    peek(message, window, first, last, true, true);
    return message->message == WM_QUIT ? FALSE : TRUE;
}

BOOL PeekMessageW(LPMSG message, HWND window, UINT first, UINT last, UINT remove)
{
    if (!message)
        return FALSE;
    return peek(message, window, first, last, (remove & PM_REMOVE) != 0, false) ? TRUE : FALSE;
}

LRESULT DispatchMessageW(const MSG* message)
{
    if (!message || !liveWindow(message->hwnd))
        return 0;
    LRESULT r = SendMessageW(message->hwnd, message->message, message->wParam, message->lParam);
    if (message->message == WM_PAINT && liveWindow(message->hwnd))
        setNeedsPaint(*message->hwnd, false);
    return r;
}

BOOL TranslateMessage(const MSG* message)
{
    if (!message || message->message != WM_KEYDOWN || !liveWindow(message->hwnd))
        return FALSE;
    WPARAM key = message->wParam;
    WCHAR c = 0;
    bool control = GetKeyState(VK_CONTROL) < 0;
    bool shift = GetKeyState(VK_SHIFT) < 0;
    if (key == VK_PACKET)
        c = WCHAR(HIWORD(message->lParam));   // typed text carries its character here
    else if (key == VK_BACK || key == VK_RETURN || key == VK_ESCAPE || key == VK_TAB || key == VK_SPACE)
        c = WCHAR(key);
    else if (key >= 'A' && key <= 'Z')
        c = control ? WCHAR(key - 'A' + 1) : WCHAR(shift ? key : key + 32);
    else if (key >= '0' && key <= '9' && !control)
        c = WCHAR(key);
    if (!c)
        return FALSE;
    windowSystem().posted.push_back(MSG{message->hwnd, WM_CHAR, (WPARAM)c, message->lParam, 0, {0, 0}});
    return TRUE;
}

// --- accelerator tables -------------------------------------------------------------------------
struct PortableAccel {
    std::vector<ACCEL> entries;
};

namespace {
std::vector<std::unique_ptr<PortableAccel>>& acceleratorTables()
{
    static std::vector<std::unique_ptr<PortableAccel>> tables;
    return tables;
}
}  // namespace

HACCEL CreateAcceleratorTableW(LPACCEL entries, int count)
{
    if (!entries || count <= 0)
        return nullptr;
    auto table = std::make_unique<PortableAccel>();
    for (int i = 0; i < count; ++i) {
        ACCEL a = entries[i];
        a.fVirt &= 0x7F;   // the resource form marks its last entry with 0x80
        table->entries.push_back(a);
    }
    acceleratorTables().push_back(std::move(table));
    return acceleratorTables().back().get();
}

BOOL DestroyAcceleratorTable(HACCEL table)
{
    auto& tables = acceleratorTables();
    auto it = std::find_if(tables.begin(), tables.end(), [table](const auto& t) { return t.get() == table; });
    if (it == tables.end())
        return FALSE;
    tables.erase(it);
    return TRUE;
}

int CopyAcceleratorTableW(HACCEL table, LPACCEL entries, int count)
{
    auto& tables = acceleratorTables();
    auto it = std::find_if(tables.begin(), tables.end(), [table](const auto& t) { return t.get() == table; });
    if (it == tables.end())
        return 0;
    int n = int(table->entries.size());
    if (!entries)
        return n;
    n = std::min(n, count);
    std::copy(table->entries.begin(), table->entries.begin() + std::max(n, 0), entries);
    return n;
}

void resetAccelerators()
{
    acceleratorTables().clear();
}

int TranslateAcceleratorW(HWND window, HACCEL table, LPMSG message)
{
    if (!liveWindow(window) || !message || CopyAcceleratorTableW(table, nullptr, 0) == 0)
        return 0;
    UINT m = message->message;
    if (m != WM_KEYDOWN && m != WM_SYSKEYDOWN && m != WM_CHAR && m != WM_SYSCHAR)
        return 0;
    bool control = GetKeyState(VK_CONTROL) < 0;
    bool shift = GetKeyState(VK_SHIFT) < 0;
    bool alt = GetKeyState(VK_MENU) < 0;
    for (const ACCEL& a : table->entries) {
        bool virtualKey = (a.fVirt & FVIRTKEY) != 0;
        if (virtualKey != (m == WM_KEYDOWN || m == WM_SYSKEYDOWN) || a.key != message->wParam)
            continue;
        if (virtualKey && (bool(a.fVirt & FCONTROL) != control || bool(a.fVirt & FSHIFT) != shift ||
                           bool(a.fVirt & FALT) != alt))
            continue;
        if (inputEnabled(window))
            SendMessageW(window, WM_COMMAND, MAKEWPARAM(a.cmd, 1), 0);
        return 1;
    }
    return 0;
}
