// The page's actions, checked on the program thread against the windows on the screen and turned
// into user actions of the portable platform:
//   {"kind":"tap","window":ID}                       a finger on a control (or a box's button)
//   {"kind":"type","text":"12"[,"window":ID]}        characters (default: the focused window)
//   {"kind":"key","key":"q"|"enter"|...,"ctrl":B,"shift":B}
//   {"kind":"pick","window":ID,"index":N}            a line of a list box or drop-down list
//   {"kind":"scroll","window":ID,"code":"lineup"|"linedown"|"pageup"|"pagedown"|"to","position":N,
//    "lines":N}                                      lines: 1..40 line steps at once (a wheel notch)
//   {"kind":"close"}                                 a close from the system
// Any action may carry "seq", the screen it was aimed at; the bridge refuses it when the screen
// has changed since. A malformed action is 400; a window not on the screen 404.
#include "hosts/web/web.h"
#include "platform/portable/host.h"

#include <cctype>
#include <map>

namespace {

constexpr std::size_t maxTyped = 256;
constexpr long maxScrollLines = 40;

const nlohmann::json* member(const nlohmann::json& j, const char* name)
{
    auto it = j.find(name);
    return it == j.end() ? nullptr : &*it;
}

bool stringMember(const nlohmann::json& j, const char* name, std::string* out)
{
    const nlohmann::json* m = member(j, name);
    if (!m || !m->is_string())
        return false;
    *out = m->get<std::string>();
    return true;
}

bool intMember(const nlohmann::json& j, const char* name, long* out)
{
    const nlohmann::json* m = member(j, name);
    if (!m || !m->is_number_integer())
        return false;
    *out = m->get<long>();
    return true;
}

bool boolMember(const nlohmann::json& j, const char* name)
{
    const nlohmann::json* m = member(j, name);
    return m && m->is_boolean() && m->get<bool>();
}

// The visible window the action names, from the current window tree.
int findWindow(const nlohmann::json& action, PortableWindowInfo* found, std::string* error)
{
    std::string id;
    if (!stringMember(action, "window", &id)) {
        *error = "the action needs a window";
        return 400;
    }
    if (!webHandleFromId(id)) {
        *error = "malformed window id";
        return 400;
    }
    std::vector<PortableWindowInfo> windows = portableSnapshot();
    std::vector<std::string> ids = webWindowIds(windows);
    for (std::size_t i = 0; i < windows.size(); ++i)
        if (ids[i] == id && windows[i].visible) {
            *found = windows[i];
            return 200;
        }
    *error = "no such window on the screen";
    return 404;
}

int keyAction(const nlohmann::json& action, PortableAction* a, std::string* error)
{
    static const std::map<std::string, int> named = {
        {"enter", VK_RETURN}, {"esc", VK_ESCAPE}, {"tab", VK_TAB}, {"space", VK_SPACE}, {"back", VK_BACK},
        {"up", VK_UP}, {"down", VK_DOWN}, {"left", VK_LEFT}, {"right", VK_RIGHT}, {"delete", VK_DELETE}};
    std::string key;
    if (!stringMember(action, "key", &key)) {
        *error = "the key action needs a key";
        return 400;
    }
    a->kind = PortableActionKind::Key;
    a->control = boolMember(action, "ctrl");
    a->shift = boolMember(action, "shift");
    if (key.size() == 1 && std::isalnum((unsigned char)key[0]))
        a->code = std::toupper((unsigned char)key[0]);
    else if (named.count(key))
        a->code = named.at(key);
    else {
        *error = "unknown key";
        return 400;
    }
    return 200;
}

int scrollAction(const nlohmann::json& action, const PortableWindowInfo& w, PortableAction* a, std::string* error)
{
    static const std::map<std::string, int> codes = {
        {"lineup", SB_LINEUP}, {"linedown", SB_LINEDOWN}, {"pageup", SB_PAGEUP}, {"pagedown", SB_PAGEDOWN},
        {"to", SB_THUMBTRACK}};
    std::string code;
    if (!stringMember(action, "code", &code) || !codes.count(code)) {
        *error = "the scroll action needs a code";
        return 400;
    }
    if (!w.hasScroll) {
        *error = "the window is not a scroll bar";
        return 400;
    }
    a->kind = PortableActionKind::Scroll;
    a->code = codes.at(code);
    if (code == "to") {
        long position = 0;
        if (!intMember(action, "position", &position)) {
            *error = "scrolling to a position needs the position";
            return 400;
        }
        // The platform clamps to the range; keep the number within int first.
        a->index = int(position < w.scroll.nMin ? w.scroll.nMin : position > w.scroll.nMax ? w.scroll.nMax : position);
    }
    return 200;
}

}  // namespace

int webPerformAction(const nlohmann::json& action, std::string* error)
{
    std::string kind;
    if (!action.is_object() || !stringMember(action, "kind", &kind)) {
        *error = "an action is an object with a kind";
        return 400;
    }
    PortableAction a;
    PortableWindowInfo w;
    if (kind == "tap" || kind == "pick" || kind == "scroll") {
        if (int status = findWindow(action, &w, error); status != 200)
            return status;
        a.target = w.window;
    }
    if (kind == "tap") {
        a.kind = PortableActionKind::Tap;
    } else if (kind == "type") {
        std::string text;
        if (!stringMember(action, "text", &text) || text.size() > maxTyped) {
            *error = "the type action needs a text of at most 256 bytes";
            return 400;
        }
        if (member(action, "window")) {
            if (int status = findWindow(action, &w, error); status != 200)
                return status;
            a.target = w.window;
        }
        a.kind = PortableActionKind::Type;
        a.text = webTyped(text);
        if (a.text.empty()) {
            *error = "nothing in the text can be typed";
            return 400;
        }
    } else if (kind == "key") {
        if (int status = keyAction(action, &a, error); status != 200)
            return status;
    } else if (kind == "pick") {
        long index = -1;
        if (!intMember(action, "index", &index)) {
            *error = "the pick action needs an index";
            return 400;
        }
        if (w.className != u"LISTBOX" && w.className != u"COMBOBOX") {
            *error = "the window is not a list";
            return 400;
        }
        if (index < 0 || index >= long(w.items.size())) {
            *error = "no such line in the list";
            return 400;
        }
        a.kind = PortableActionKind::Pick;
        a.index = int(index);
    } else if (kind == "scroll") {
        if (int status = scrollAction(action, w, &a, error); status != 200)
            return status;
        // A wheel notch or a swipe moves several lines at once: one reply for all of them.
        long lines = 1;
        if (member(action, "lines") && (!intMember(action, "lines", &lines) || lines < 1 || lines > maxScrollLines)) {
            *error = "lines is a count from 1 to 40";
            return 400;
        }
        if (a.code != SB_LINEUP && a.code != SB_LINEDOWN)
            lines = 1;
        for (long i = 1; i < lines; ++i)
            portablePushAction(a);
    } else if (kind == "close") {
        HWND top = nullptr;
        for (const PortableWindowInfo& t : portableSnapshot())
            if (t.depth == 0 && t.visible && t.className != u"#32770" && !top)
                top = t.window;
        if (!top) {
            *error = "no program window to close";
            return 409;
        }
        a.kind = PortableActionKind::Close;
        a.target = top;
    } else {
        *error = "unknown action kind";
        return 400;
    }
    portablePushAction(a);
    return 200;
}
