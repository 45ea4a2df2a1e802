// Window classes and the life of a window: RegisterClassW, CreateWindowExW, DestroyWindow.
// Differs from Windows in: creation sends only WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE and
// WM_PARENTNOTIFY (no WM_GETMINMAXINFO, WM_NCCALCSIZE or WM_WINDOWPOS*); a WS_CHILD window without
// a parent is accepted as a parentless window, as the handheld's system does; an overlapped window
// gets no caption of its own (as on the handheld); class extra bytes are not kept.
#include "platform/portable/host.h"
#include "platform/portable/internal.h"
#include "platform/portable/wnd.h"

#include <algorithm>

WindowRecordBlock windowRecordBlocks[largestWindowRecordBlockCount];
std::size_t windowRecordBlockCount = 0;

namespace {

// Each block of window records is twice the size of the one before (up to a limit), so there are
// few to look through.
constexpr std::size_t firstBlockRecords = 1024;
constexpr std::size_t largestBlockRecords = 4096;
std::size_t newestBlockUsed = 0;

// Keeps a destroyed window's record for a while (what a modal loop reads after the window has
// gone, and so that a stale handle is known to be stale); only its contents are released.
constexpr std::size_t deadRecordsKept = 4096;

// A fresh or long-dead record; nullptr when the blocks are all full (more windows live at once
// than any program makes).
PortableWindow* takeRecord()
{
    WindowSystem& ws = windowSystem();
    if (ws.dead.size() > deadRecordsKept) {
        PortableWindow* record = ws.dead.front();
        ws.dead.pop_front();
        *record = PortableWindow{};
        return record;
    }
    std::size_t& count = windowRecordBlockCount;
    if (count == 0 || newestBlockUsed == windowRecordBlocks[count - 1].size) {
        if (count == largestWindowRecordBlockCount)
            return nullptr;
        std::size_t size = count == 0 ? firstBlockRecords : std::min(windowRecordBlocks[count - 1].size * 2, largestBlockRecords);
        windowRecordBlocks[count] = WindowRecordBlock{new PortableWindow[size], size, size * sizeof(PortableWindow)};
        count++;
        newestBlockUsed = 0;
    }
    return &windowRecordBlocks[count - 1].records[newestBlockUsed++];
}

// Every record handed out so far, live or dead.
template <typename Visit>
void forEachRecord(Visit visit)
{
    for (std::size_t b = 0; b < windowRecordBlockCount; ++b) {
        std::size_t used = b + 1 == windowRecordBlockCount ? newestBlockUsed : windowRecordBlocks[b].size;
        for (std::size_t i = 0; i < used; ++i)
            visit(windowRecordBlocks[b].records[i]);
    }
}

struct BuiltInClass {
    const char16_t* name;
    WNDPROC proc;
    WindowKind kind;
};

const BuiltInClass builtInClasses[] = {
    {u"BUTTON", buttonProc, WindowKind::Button},
    {u"STATIC", staticProc, WindowKind::Static},
    {u"EDIT", editProc, WindowKind::Edit},
    {u"LISTBOX", listBoxProc, WindowKind::ListBox},
    {u"COMBOBOX", comboBoxProc, WindowKind::ComboBox},
    {u"SCROLLBAR", scrollBarProc, WindowKind::ScrollBar},
    {u"#32770", dialogClassProc, WindowKind::Dialog},
};

// The class the last search by name found (the first of that name), forgotten whenever the list
// of classes changes.
const WindowClass* lastFoundClass = nullptr;

void registerBuiltIns(WindowSystem& ws)
{
    lastFoundClass = nullptr;
    for (const BuiltInClass& b : builtInClasses) {
        auto c = std::make_unique<WindowClass>();
        c->name = b.name;
        c->proc = b.proc;
        c->kind = b.kind;
        c->builtIn = true;
        c->style = CS_DBLCLKS;
        c->atom = ATOM(0xC000 + ws.classes.size());
        ws.classes.push_back(std::move(c));
    }
}

const WindowClass* findClass(LPCWSTR name)
{
    WindowSystem& ws = windowSystem();
    if (IS_INTRESOURCE(name)) {
        for (const auto& c : ws.classes)
            if (c->atom == (ATOM)(ULONG_PTR)name)
                return c.get();
        return nullptr;
    }
    const std::u16string_view wanted = name;   // no copy: a window is made for every row shown
    if (lastFoundClass && sameTextNoCase(lastFoundClass->name, wanted))
        return lastFoundClass;
    for (const auto& c : ws.classes) {
        if (sameTextNoCase(c->name, wanted))
            return lastFoundClass = c.get();
    }
    return nullptr;
}

void sendParentNotify(HWND child, UINT event)
{
    PortableWindow* w = liveWindow(child);
    if (!w || (w->exStyle & WS_EX_NOPARENTNOTIFY))
        return;
    WPARAM wParam = MAKEWPARAM(event, w->id);
    for (HWND p = w->parent; liveWindow(p); p = liveWindow(p)->parent) {
        SendMessageW(p, WM_PARENTNOTIFY, wParam, (LPARAM)child);
        if (!(liveWindow(p)->style & WS_CHILD) || (liveWindow(p)->exStyle & WS_EX_NOPARENTNOTIFY))
            break;
    }
}

void unlink(HWND window)
{
    WindowSystem& ws = windowSystem();
    PortableWindow* w = liveWindow(window);
    std::vector<HWND>& siblings = w->parent ? liveWindow(w->parent)->children : ws.topLevel;
    if (w->parent)
        w->parent->paintScanFrom = 0;
    auto at = std::find(siblings.begin(), siblings.end(), window);   // a window is linked once
    if (at != siblings.end())
        siblings.erase(at);
    auto isFor = [window](const MSG& m) { return m.hwnd == window; };
    ws.posted.erase(std::remove_if(ws.posted.begin(), ws.posted.end(), isFor), ws.posted.end());
    ws.input.erase(std::remove_if(ws.input.begin(), ws.input.end(), isFor), ws.input.end());
}

void retire(HWND window)
{
    WindowSystem& ws = windowSystem();
    window->text = {};
    window->items = {};
    window->children = {};
    ws.dead.push_back(window);
    ws.liveCount--;
}

void sendDestroy(HWND window)
{
    if (!liveWindow(window))
        return;
    SendMessageW(window, WM_DESTROY, 0, 0);
    PortableWindow* w = liveWindow(window);
    if (!w)
        return;
    std::vector<HWND> children = w->children;
    for (HWND child : children)
        sendDestroy(child);
}

void freeWindow(HWND window)
{
    PortableWindow* w = liveWindow(window);
    if (!w)
        return;
    std::vector<HWND> children = w->children;
    for (HWND child : children)
        freeWindow(child);
    SendMessageW(window, WM_NCDESTROY, 0, 0);
    WindowSystem& ws = windowSystem();
    if (ws.focus == window)
        ws.focus = nullptr;
    if (ws.active == window)
        ws.active = nullptr;
    setNeedsPaint(*w, false);
    unlink(window);
    w->alive = false;
    portableGdiWindowDestroyed(window);
    retire(window);
}

RECT initialRect(DWORD style, int x, int y, int width, int height)
{
    if (!(style & WS_CHILD)) {
        if (x == CW_USEDEFAULT) {
            x = 0;
            y = 0;
        }
        if (width == CW_USEDEFAULT) {
            width = screenWidth;
            height = screenHeight;
        }
    }
    return RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
}

}  // namespace

WindowSystem* runningWindowSystem = nullptr;

WindowSystem& startWindowSystem()
{
    static WindowSystem ws;
    if (ws.classes.empty())
        registerBuiltIns(ws);
    runningWindowSystem = &ws;
    return ws;
}

void setNeedsPaint(PortableWindow& w, bool needed)
{
    if (w.needsPaint == needed)
        return;
    w.needsPaint = needed;
    int change = needed ? 1 : -1;
    for (PortableWindow* p = &w; p; p = p->parent)
        p->paintBelow += change;
    if (needed)
        paintMayBeDue(w);
}

void paintMayBeDue(PortableWindow& w)
{
    for (PortableWindow* p = w.parent; p; p = p->parent)
        p->paintScanFrom = 0;
}

ATOM RegisterClassW(const WNDCLASSW* windowClass)
{
    if (!windowClass || !windowClass->lpfnWndProc || IS_INTRESOURCE(windowClass->lpszClassName))
        return 0;
    WindowSystem& ws = windowSystem();
    std::u16string name = windowClass->lpszClassName;
    for (const auto& c : ws.classes) {
        if (!c->builtIn && sameTextNoCase(c->name, name))
            return 0;   // ERROR_CLASS_ALREADY_EXISTS
    }
    auto c = std::make_unique<WindowClass>();
    c->name = name;
    c->proc = windowClass->lpfnWndProc;
    c->style = windowClass->style;
    c->instance = windowClass->hInstance;
    c->icon = windowClass->hIcon;
    c->cursor = windowClass->hCursor;
    c->background = windowClass->hbrBackground;
    c->kind = WindowKind::Custom;
    c->atom = ATOM(0xC000 + ws.classes.size());
    // An application class of a built-in name takes the name's place (searched first).
    ws.classes.insert(ws.classes.begin(), std::move(c));
    lastFoundClass = nullptr;
    return ws.classes.front()->atom;
}

BOOL UnregisterClassW(LPCWSTR className, HINSTANCE)
{
    WindowSystem& ws = windowSystem();
    for (auto it = ws.classes.begin(); it != ws.classes.end(); ++it) {
        if (!(*it)->builtIn && !IS_INTRESOURCE(className) && sameTextNoCase((*it)->name, className)) {
            bool used = false;
            forEachRecord([&](const PortableWindow& r) { used = used || (r.alive && r.windowClass == it->get()); });
            if (used)
                return FALSE;   // ERROR_CLASS_HAS_WINDOWS
            ws.classes.erase(it);
            lastFoundClass = nullptr;
            return TRUE;
        }
    }
    return FALSE;
}

BOOL GetClassInfoW(HINSTANCE, LPCWSTR className, LPWNDCLASSW out)
{
    const WindowClass* c = findClass(className);
    if (!c || !out)
        return FALSE;
    *out = WNDCLASSW{c->style, c->proc, 0, 0, c->instance, c->icon, c->cursor, c->background,
                     nullptr, className};
    return TRUE;
}

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param)
{
    const WindowClass* c = className ? findClass(className) : nullptr;
    if (!c)
        return nullptr;   // ERROR_CANNOT_FIND_WND_CLASS
    WindowSystem& ws = windowSystem();
    if (parent && !liveWindow(parent))
        return nullptr;   // ERROR_INVALID_WINDOW_HANDLE

    PortableWindow* record = takeRecord();
    if (!record)
        return nullptr;   // ERROR_NOT_ENOUGH_MEMORY
    HWND window = record;
    record->alive = true;
    record->windowClass = c;
    record->kind = c->kind;
    record->proc = c->proc;
    record->style = style & ~WS_VISIBLE;   // shown below, after WM_CREATE, as Windows does
    record->exStyle = exStyle;
    record->rect = initialRect(style, x, y, width, height);
    record->instance = instance;
    if ((style & WS_CHILD) && parent) {
        record->parent = parent;
        record->id = (UINT_PTR)menu;
    } else {
        record->owner = parent ? rootWindow(parent) : nullptr;
    }
    ws.liveCount++;
    if (window->parent)
        liveWindow(window->parent)->children.push_back(window);
    else
        ws.topLevel.push_back(window);

    CREATESTRUCTW cs{param, instance, menu, parent, height, width, y, x, (LONG)style, windowName,
                     className, exStyle};
    if (!SendMessageW(window, WM_NCCREATE, 0, (LPARAM)&cs)) {
        freeWindow(window);
        return nullptr;
    }
    if (!liveWindow(window) || SendMessageW(window, WM_CREATE, 0, (LPARAM)&cs) == -1) {
        DestroyWindow(window);
        return nullptr;
    }
    if (!liveWindow(window))
        return nullptr;
    RECT client;
    GetClientRect(window, &client);
    SendMessageW(window, WM_SIZE, 0, MAKELPARAM(client.right, client.bottom));
    RECT in = clientInsets(*window);   // the client area's origin in the parent's client area
    SendMessageW(window, WM_MOVE, 0, MAKELPARAM(window->rect.left + in.left, window->rect.top + in.top));
    if (window->parent)
        sendParentNotify(window, WM_CREATE);
    if ((style & WS_VISIBLE) && liveWindow(window))
        ShowWindow(window, SW_SHOW);
    return liveWindow(window) ? window : nullptr;
}

BOOL DestroyWindow(HWND window)
{
    PortableWindow* w = liveWindow(window);
    if (!w)
        return FALSE;
    WindowSystem& ws = windowSystem();
    // Owned windows go first (dialogs and message boxes of this window).
    std::vector<HWND> owned;
    for (HWND t : ws.topLevel)
        if (liveWindow(t) && t->owner == window)
            owned.push_back(t);
    for (HWND t : owned)
        DestroyWindow(t);
    if (!liveWindow(window))
        return TRUE;
    if (w->parent)
        sendParentNotify(window, WM_DESTROY);
    if (!liveWindow(window))
        return TRUE;
    if (w->style & WS_VISIBLE) {
        w->style &= ~WS_VISIBLE;
        if (w->parent)
            invalidateParentArea(window);
    }
    HWND focus = ws.focus;
    if (focus && (focus == window || IsChild(window, focus)))
        SetFocus(w->parent);
    if (ws.active == window)
        activateAnother(window);
    sendDestroy(window);
    freeWindow(window);
    return TRUE;
}

BOOL IsWindow(HWND window)
{
    return liveWindow(window) ? TRUE : FALSE;
}

void portableResetWindows()
{
    WindowSystem& ws = windowSystem();
    ws.dead.clear();
    forEachRecord([&ws](PortableWindow& r) {
        if (r.alive)
            portableGdiWindowDestroyed(&r);
        r = PortableWindow{};
        ws.dead.push_back(&r);
    });
    ws.liveCount = 0;
    ws.topLevel.clear();
    ws.classes.clear();
    registerBuiltIns(ws);
    ws.focus = ws.active = nullptr;
    ws.modalStack.clear();
    ws.posted.clear();
    ws.input.clear();
    ws.quitPending = false;
    ws.quitCode = 0;
    std::fill(std::begin(ws.keyDown), std::end(ws.keyDown), BYTE(0));
    resetAccelerators();
    resetInput();
}
