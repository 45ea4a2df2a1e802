// Hooks of the portable window system for the hosts and tests; the device program never
// includes this. Hosts feed user actions (turned into exactly the messages the real system
// would send) and read the window tree back as a snapshot. Everything here is called on the
// program's one thread: a host with threads of its own hands actions over inside its input
// source, which the program's thread calls.
#pragma once
#include "platform/winapi.h"

#include <string>
#include <vector>

enum class PortableActionKind {
    Tap,      // press and release the window, as a finger would (at its middle)
    TapAt,    // press and release at a screen point: the window there (WindowFromPoint) gets it
    Type,     // type text into target (nullptr: the window that has the focus)
    Key,      // press a key chord (virtual key code, control and shift held)
    Pick,     // pick line index of a list box or drop-down combo box
    Scroll,   // a scroll bar's command (SB_LINEUP ... SB_PAGEDOWN, or SB_THUMBTRACK to position)
    Close,    // a close from the system (WM_SYSCOMMAND SC_CLOSE)
};

struct PortableAction {
    PortableActionKind kind = PortableActionKind::Tap;
    HWND target = nullptr;
    std::u16string text;
    int index = 0;          // Pick: the line; Scroll: the position for SB_THUMBTRACK
    int code = 0;           // Scroll: the SB_ command; Key: the virtual key
    bool control = false, shift = false;
    POINT point{};          // TapAt: screen coordinates
    std::string label;      // what measurements call it (a host's script and line)
};

// Queues a user action; GetMessageW performs it when nothing else is waiting. An action aimed
// at a window that is gone, or disabled (as a modal box's owner is), is dropped.
void portablePushAction(const PortableAction& action);
bool portableActionsWaiting();
// Asked by GetMessageW whenever no message and no action waits: push actions and return true,
// or return false when there will be none (GetMessageW then returns WM_QUIT, ending the loops).
// Without a source, an idle GetMessageW returns WM_QUIT at once.
typedef bool (*PortableInputSource)(void* context);
void portableSetInputSource(PortableInputSource source, void* context);

// Instruction counts under callgrind (run with --collect-atstart=no; outside valgrind these do
// nothing): collection runs from portableMeasureStart, and from the moment each action is taken,
// until the program waits for input again; then the counts are dumped under the label (the
// action's own while it was being carried out). What the input source does in between, a host
// printing the screen, is never counted.
void portableMeasureStart(const char* label);
void portableMeasureStop();

// The innermost modal box (dialog or message box) whose loop runs, or nullptr.
HWND portableModalTop();

// Member by member, for the record's comparison below.
inline bool operator==(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline bool operator==(const SCROLLINFO& a, const SCROLLINFO& b)
{
    return a.cbSize == b.cbSize && a.fMask == b.fMask && a.nMin == b.nMin && a.nMax == b.nMax &&
           a.nPage == b.nPage && a.nPos == b.nPos && a.nTrackPos == b.nTrackPos;
}

// Compared whole (every member, so a member added later is compared too): a host may keep what
// it made of a window for as long as its record compares equal.
struct PortableWindowInfo {
    HWND window = nullptr;
    HWND parent = nullptr;      // child windows
    HWND owner = nullptr;       // top-level windows
    int depth = 0;              // 0 for a top-level window
    int zOrder = 0;             // child windows: place among its siblings from the top (0)
    std::u16string className;   // built-in classes in capitals ("BUTTON"), others as registered
    RECT rect{};                // screen coordinates
    bool visible = false;       // it and all its ancestors are visible
    bool enabled = true;
    bool focused = false;
    bool modal = false;         // a modal box whose loop runs
    bool messageBox = false;
    DWORD style = 0, exStyle = 0;
    int id = 0;
    std::u16string text;        // a drop-down list's text is its chosen line
    HFONT font = nullptr;       // nullptr: the system font
    int check = 0;
    bool pushed = false;
    std::vector<std::u16string> items;
    std::vector<bool> itemSelected;   // multiple-selection list boxes
    int selected = -1;                // LB_GETCURSEL / CB_GETCURSEL, -1 for none
    int topIndex = 0;
    bool dropped = false;
    bool hasScroll = false;           // SCROLLBAR controls
    SCROLLINFO scroll{};

    bool operator==(const PortableWindowInfo&) const = default;
};
// Every live window: top-level windows from the bottom of the z order up, each followed by
// its descendants (children in creation order, depth first). Of overlapping siblings the one
// made first is on top, as on Windows: zOrder says where each child is.
std::vector<PortableWindowInfo> portableSnapshot();
// The indexes of a snapshot in the order windows are drawn: each window before its children,
// siblings from the bottom of the z order up.
std::vector<std::size_t> portablePaintOrder(const std::vector<PortableWindowInfo>& windows);

// Destroys every window without messages and forgets classes, queues, accelerators, actions
// and the input source: a fresh window system, for tests and for a host's next run.
void portableResetWindows();

// What a font is, for snapshots and the browser host. face is the font file's family name
// ("DejaVu Sans"), pixelHeight the size it is drawn at. serial is the font's own and never
// repeats, not even when a freed font's handle is given out again: a host may keep what it
// measured of a font by it.
struct PortableFontInfo {
    unsigned long long serial;
    const char* face;
    const char* file;   // absolute path of the font file
    int pixelHeight;
    bool bold, italic, underline;
};
bool portableFontInfo(HFONT font, PortableFontInfo* info);

// The screen as the user sees it, written as a 24-bit BMP file; false when it cannot be written.
bool portableSaveScreenshot(const char* path);

// The instance handle hosts give the device program's entry.
HINSTANCE portableProgramInstance();
