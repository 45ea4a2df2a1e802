// Window records of the portable window system and the helpers its files share.
// A window handle points to a PortableWindow. Records come from blocks that are kept for the
// whole run; a destroyed window's record is marked dead and handed out again only after a few
// thousand others, so a stale handle is recognised instead of reaching a new window at once.
#pragma once
#include "platform/winapi.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

enum class WindowKind { Custom, Button, Static, Edit, ListBox, ComboBox, ScrollBar, Dialog };

struct WindowClass {
    std::u16string name;
    WNDPROC proc;
    UINT style;
    HINSTANCE instance;
    HICON icon;
    HCURSOR cursor;
    HBRUSH background;
    WindowKind kind;
    bool builtIn;
    ATOM atom;
};

struct ListItem {
    std::u16string text;
    LPARAM data;
    bool selected;   // multiple-selection list boxes only
};

struct PortableWindow {
    bool alive = false;
    const WindowClass* windowClass = nullptr;
    WindowKind kind = WindowKind::Custom;
    WNDPROC proc = nullptr;
    std::u16string text;
    DWORD style = 0, exStyle = 0;
    RECT rect{};                   // parent's client coordinates; screen for top-level windows
    HWND parent = nullptr;         // child windows only
    HWND owner = nullptr;          // top-level windows only
    UINT_PTR id = 0;
    HINSTANCE instance = nullptr;
    LONG_PTR userData = 0;
    HFONT font = nullptr;
    bool needsPaint = false;       // changed through setNeedsPaint only
    RECT updateRect{};             // client coordinates, valid while needsPaint
    int paintBelow = 0;            // windows of this subtree (itself included) with needsPaint
    std::size_t paintScanFrom = 0; // the children before this index have nothing visible to paint
    std::vector<HWND> children;    // creation order: top to bottom of the z order (CreateWindowEx
                                   // links a new child at HWND_BOTTOM)

    // BUTTON
    int check = 0;
    bool pushed = false;
    bool captured = false;
    // EDIT
    std::size_t selStart = 0, selEnd = 0;
    std::size_t limit = 30000;
    // LISTBOX and COMBOBOX
    std::vector<ListItem> items;
    int curSel = -1;
    int focusItem = 0;
    int topIndex = 0;
    int itemHeight = 18;
    bool dropped = false;
    int dropHeight = 0;
    // SCROLLBAR (and the scroll bar of a window with WS_VSCROLL)
    SCROLLINFO scroll{sizeof(SCROLLINFO), 0, 0, 100, 0, 0, 0};
    // dialogs and message boxes
    DLGPROC dlgProc = nullptr;
    LONG_PTR msgResult = 0;
    bool ended = false;
    INT_PTR result = 0;
    bool ownerWasEnabled = false;
    HWND savedFocus = nullptr;
    int defId = 0;
    bool modal = false;
    bool messageBox = false;
    UINT messageBoxType = 0;
};

// The whole window system's state: one per process, used from the program's one thread.
struct WindowSystem {
    std::deque<PortableWindow*> dead;                       // destroyed, oldest first
    std::size_t liveCount = 0;
    std::vector<HWND> topLevel;                             // bottom to top of the z order
    std::vector<std::unique_ptr<WindowClass>> classes;
    HWND focus = nullptr;
    HWND active = nullptr;
    std::vector<HWND> modalStack;                           // modal boxes, innermost last
    std::deque<MSG> posted;
    std::deque<MSG> input;                                  // mouse and keyboard messages
    bool quitPending = false;
    int quitCode = 0;
    BYTE keyDown[256] = {};
};
// The one window system, made with its built-in classes on first use. Called on nearly every
// call into the platform, so the test for a system already made is inline.
WindowSystem& startWindowSystem();
extern WindowSystem* runningWindowSystem;
inline WindowSystem& windowSystem()
{
    return runningWindowSystem ? *runningWindowSystem : startWindowSystem();
}

// Window records come in blocks that are never given back, so a handle can be told to be a
// record by its address alone (no lookup in a set on every call).
struct WindowRecordBlock {
    PortableWindow* records;
    std::size_t size;
    std::uintptr_t bytes;   // size records
};
// Plain static arrays, set before any other static is made and never destroyed (the records stay
// reachable at exit); oldest first.
constexpr std::size_t largestWindowRecordBlockCount = 64;
extern WindowRecordBlock windowRecordBlocks[largestWindowRecordBlockCount];
extern std::size_t windowRecordBlockCount;

// Whether a pointer is one of the window records (live or dead); the newest block is looked at first.
inline bool isWindowRecord(const PortableWindow* window)
{
    auto address = reinterpret_cast<std::uintptr_t>(window);
    for (std::size_t b = windowRecordBlockCount; b-- > 0;) {
        std::uintptr_t offset = address - reinterpret_cast<std::uintptr_t>(windowRecordBlocks[b].records);
        if (offset < windowRecordBlocks[b].bytes)
            return offset % sizeof(PortableWindow) == 0;
    }
    return false;
}
// The live record a handle names, or nullptr for a handle that is not (or no longer) a window.
inline PortableWindow* liveWindow(HWND window)
{
    return window && isWindowRecord(window) && window->alive ? window : nullptr;
}
// Marks a window as waiting (or no longer waiting) to be painted, keeping its ancestors' counts.
void setNeedsPaint(PortableWindow& w, bool needed);
// Something in the window's subtree may now have to be painted (it waits, or became visible):
// its ancestors look through all their children again for the next window to paint.
void paintMayBeDue(PortableWindow& w);
HWND rootWindow(HWND window);             // the top-level window a window belongs to
bool reallyVisible(HWND window);          // visible, and so are all its ancestors
bool inputEnabled(HWND window);           // enabled, and so are all its ancestors
RECT clientInsets(const PortableWindow& w);
POINT clientOriginOnScreen(HWND window);
void bringToTop(HWND topLevelWindow);
void activateWindow(HWND topLevelWindow);
void activateAnother(HWND leaving);
void invalidateWindow(HWND window);
void invalidateParentArea(HWND child);

// WM_COMMAND with the control's id and a notification code, sent to its parent.
void notifyParent(HWND control, WORD code);
// Copies text into a caller's buffer of size units (NUL included); returns the units copied.
int copyText(const std::u16string& text, WCHAR* buffer, std::size_t size);
std::u16string textOf(LPCWSTR text);      // nullptr and resource ordinals give ""
void setTextOf(std::u16string& to, LPCWSTR text);   // to = textOf(text), reusing to's room
bool sameTextNoCase(std::u16string_view a, std::u16string_view b);

void resetAccelerators();    // messages.cpp
void resetInput();           // input.cpp

// Window procedures of the built-in classes.
LRESULT CALLBACK buttonProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK staticProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK editProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK listBoxProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK comboBoxProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK scrollBarProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK dialogClassProc(HWND, UINT, WPARAM, LPARAM);

// Shared by the list box and the combo box: their item lists behave alike.
int listAdd(PortableWindow& w, LPCWSTR text, int at, bool sorted);
int listFind(const PortableWindow& w, int after, LPCWSTR text, bool exact);
int listGetText(const PortableWindow& w, int index, WCHAR* buffer);

// Scroll state shared by SCROLLBAR controls and SetScrollInfo.
int applyScrollInfo(SCROLLINFO& state, const SCROLLINFO& info);
void readScrollInfo(const SCROLLINFO& state, SCROLLINFO& info);

// Runs the nested loop of a modal box until it ends; returns its result (0 when the loop ended
// by WM_QUIT, which is posted again for the loop outside).
INT_PTR runModalLoop(HWND dialog);
// Creates a dialog window (class "#32770") with its procedure; used by message boxes too.
HWND createDialogWindow(HINSTANCE instance, DWORD style, DWORD exStyle, const RECT& screenRect,
                        const std::u16string& caption, HWND owner, DLGPROC procedure);

// Dialog base units of the dialog font, in pixels (horizontal per 4 units, vertical per 8).
constexpr int dialogBaseX = 6;
constexpr int dialogBaseY = 13;
constexpr int screenWidth = 240;
constexpr int screenHeight = 320;
constexpr int captionHeight = 20;
constexpr int comboClosedHeight = 20;
constexpr int listItemHeight = 18;
