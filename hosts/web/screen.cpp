// The screen as the page draws it, read from the window tree on the program thread: for every
// visible window its kind, rectangle and client rectangle (screen coordinates), text, font (file
// and pixel size, as measured) and the state of its class; top-level windows and owner-drawn
// buttons carry their surface as a PNG, since the program paints them itself.
#include "hosts/web/web.h"
#include "platform/portable/gdi_records.h"
#include "platform/portable/graphics.h"
#include "platform/portable/host.h"
#include "platform/portable/internal.h"
#include "platform/portable/wnd.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>

namespace {

std::string kindOf(const PortableWindowInfo& w)
{
    const std::u16string& c = w.className;
    if (w.depth == 0)
        return c == u"#32770" ? "dialog" : "window";
    if (c == u"STATIC")
        return "static";
    if (c == u"EDIT")
        return "edit";
    if (c == u"LISTBOX")
        return "listbox";
    if (c == u"COMBOBOX")
        return "combo";
    if (c == u"SCROLLBAR")
        return "scrollbar";
    if (c == u"BUTTON") {
        switch (w.style & BS_TYPEMASK) {
        case BS_CHECKBOX: case BS_AUTOCHECKBOX: case BS_3STATE: case BS_AUTO3STATE: return "check";
        case BS_RADIOBUTTON: case BS_AUTORADIOBUTTON: return "radio";
        case BS_GROUPBOX: return "group";
        case BS_OWNERDRAW: return "owner";
        default: return "push";
        }
    }
    return "other";   // a child window of the program's own class
}

std::string fileName(const char* path)
{
    const char* slash = std::strrchr(path, '/');
    return slash ? slash + 1 : path;
}

// What the page needs of a font, measured once per font: fonts live as long as the program, and
// a freed font's handle given out again has another serial.
struct MeasuredFont {
    unsigned long long serial = 0;
    nlohmann::json json;
};

const nlohmann::json& fontOf(HFONT font, unsigned long long* serial)
{
    static std::map<HFONT, MeasuredFont> measured;
    static const nlohmann::json none;
    if (!font)
        font = (HFONT)GetStockObject(SYSTEM_FONT);
    PortableFontInfo info{};
    if (!portableFontInfo(font, &info)) {
        *serial = 0;
        return none;
    }
    *serial = info.serial;
    MeasuredFont& m = measured[font];
    if (m.serial == info.serial)
        return m.json;
    nlohmann::json f;
    f["file"] = fileName(info.file);
    f["size"] = info.pixelHeight;
    f["bold"] = info.bold;
    f["italic"] = info.italic;
    f["underline"] = info.underline;
    HDC dc = CreateCompatibleDC(nullptr);
    TEXTMETRICW metrics{};
    if (dc) {
        HGDIOBJ previous = SelectObject(dc, font);
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, previous);
        DeleteDC(dc);
    }
    f["height"] = metrics.tmHeight;
    f["ascent"] = metrics.tmAscent;
    m = MeasuredFont{info.serial, std::move(f)};
    return m.json;
}

std::string cssColor(COLORREF c)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", unsigned(c & 0xFF), unsigned((c >> 8) & 0xFF), unsigned((c >> 16) & 0xFF));
    return text;
}

struct Colors {
    bool given = false;        // the parent answered with a brush
    COLORREF text = 0;
    bool hollow = false;
    COLORREF background = 0;
    bool operator==(const Colors&) const = default;
};

// The colours the parent gives a control, asked as Windows asks before painting it: the
// WM_CTLCOLOR* message with a DC on the control. A parent that leaves the message to the system
// (result 0) gets the page's standard colours, so nothing is sent. A hollow brush is no
// background: what is beneath shows through. Asked at every screen, since only the program
// knows when its answer changes.
Colors colorsOf(const PortableWindowInfo& w, const std::string& kind)
{
    bool readOnlyEdit = kind == "edit" && ((w.style & ES_READONLY) || !w.enabled);
    UINT message = kind == "static" || kind == "check" || kind == "radio" || kind == "group" || readOnlyEdit
                       ? WM_CTLCOLORSTATIC
                   : kind == "edit"                         ? WM_CTLCOLOREDIT
                   : kind == "listbox" || kind == "combo"   ? WM_CTLCOLORLISTBOX
                   : kind == "push"                         ? WM_CTLCOLORBTN
                                                            : 0;
    Colors colors;
    if (!message || !w.parent)
        return colors;
    HDC dc = GetDC(w.window);
    if (!dc)
        return colors;
    HBRUSH brush = (HBRUSH)SendMessageW(w.parent, message, (WPARAM)dc, (LPARAM)w.window);
    if (brush && gdiLiveDc(dc)) {
        colors.given = true;
        colors.text = dc->textColor;
        colors.hollow = !gdiLiveObject(brush) || brush->kind != GdiKind::Brush || brush->hollow;
        colors.background = colors.hollow ? 0 : brush->color;
    }
    ReleaseDC(w.window, dc);
    return colors;
}

nlohmann::json colorsJson(const Colors& c)
{
    if (!c.given)
        return nullptr;
    return {{"text", cssColor(c.text)}, {"background", c.hollow ? nlohmann::json(nullptr) : nlohmann::json(cssColor(c.background))}};
}

nlohmann::json rectJson(const RECT& r)
{
    return nlohmann::json::array({r.left, r.top, r.right - r.left, r.bottom - r.top});
}

RECT clientOnScreen(HWND window)
{
    RECT r{};
    GetClientRect(window, &r);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    return RECT{origin.x, origin.y, origin.x + r.right, origin.y + r.bottom};
}

// Everything a window's part of the screen is made from. Two equal records make the same part.
// Handles are left out (the ids and the font's serial stand for them): the program makes its
// controls again for every page it shows, and a control made again as it was is the same part.
struct WindowState {
    PortableWindowInfo info;
    std::string kind, id, parent, owner;
    RECT client{};
    unsigned long long fontSerial = 0;
    Colors colors;
    int itemHeight = 0;                    // list boxes
    unsigned long long surfaceVersion = 0; // top-level windows and owner-drawn buttons
    bool operator==(const WindowState&) const = default;
};

// A window's part as last made, with the PNG of its surface: a part is serialised once per
// change of its state, a surface encoded once per change of its pixels (versions never repeat).
struct MadePart {
    WindowState state;
    std::shared_ptr<const std::string> json;
    unsigned long long encodedVersion = 0;
    std::string image;
};

std::map<std::string, MadePart>& madeParts()
{
    static std::map<std::string, MadePart> parts;
    return parts;
}

const std::string& surfacePng(HWND window, unsigned long long version, MadePart& made)
{
    if (version && made.encodedVersion == version)
        return made.image;
    int width = 0, height = 0;
    const COLORREF* pixels = nullptr;
    std::string address;
    if (portableWindowPixels(window, &width, &height, &pixels)) {
        std::string png = webPng(width, height, pixels);
        if (!png.empty())
            address = "data:image/png;base64," + webBase64(png);
    }
    made.encodedVersion = version;
    made.image = std::move(address);
    return made.image;
}

std::string windowJson(HWND window, const WindowState& s, const nlohmann::json& font, MadePart& made)
{
    const PortableWindowInfo& w = s.info;
    const std::string& kind = s.kind;
    nlohmann::json j;
    j["id"] = s.id;
    j["parent"] = s.parent;
    j["owner"] = s.owner;
    j["depth"] = w.depth;
    j["z"] = w.zOrder;
    j["class"] = webUtf8(w.className);
    j["kind"] = kind;
    j["rect"] = rectJson(w.rect);
    j["client"] = rectJson(s.client);
    j["style"] = (unsigned long)w.style;
    j["exStyle"] = (unsigned long)w.exStyle;
    j["ctrlId"] = w.id;
    j["text"] = webUtf8(w.text);
    j["enabled"] = w.enabled;
    j["focused"] = w.focused;
    j["modal"] = w.modal;
    j["messageBox"] = w.messageBox;
    j["font"] = font;
    j["colors"] = colorsJson(s.colors);
    if (kind == "check" || kind == "radio")
        j["check"] = w.check;
    if (kind == "push" || kind == "owner" || kind == "check" || kind == "radio")
        j["pushed"] = w.pushed;
    if (kind == "listbox" || kind == "combo") {
        nlohmann::json items = nlohmann::json::array();
        for (const std::u16string& item : w.items)
            items.push_back(webUtf8(item));
        j["items"] = items;
        nlohmann::json chosen = nlohmann::json::array();
        for (bool selected : w.itemSelected)
            chosen.push_back(selected);
        j["itemSelected"] = chosen;
        j["selected"] = w.selected;
        j["topIndex"] = w.topIndex;
        j["dropped"] = w.dropped;
        if (kind == "listbox") {
            j["itemHeight"] = s.itemHeight;
        } else {
            j["closedHeight"] = comboClosedHeight;
            j["itemHeight"] = listItemHeight;
        }
    }
    if (w.hasScroll)
        j["scroll"] = {{"min", w.scroll.nMin}, {"max", w.scroll.nMax}, {"page", w.scroll.nPage}, {"pos", w.scroll.nPos}};
    if (kind == "window" || kind == "owner") {
        const std::string& image = surfacePng(window, s.surfaceVersion, made);
        if (!image.empty())
            j["image"] = image;
    }
    return j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

// Forgets the parts of windows no longer shown, so that the cache stays the size of the screen.
void forgetGoneParts(const std::vector<std::string>& shown)
{
    std::map<std::string, MadePart>& parts = madeParts();
    if (parts.size() <= shown.size())
        return;
    std::map<std::string, MadePart> kept;
    for (const std::string& id : shown)
        if (auto it = parts.find(id); it != parts.end())
            kept.insert(std::move(*it));
    parts.swap(kept);
}

}  // namespace

std::vector<std::string> webWindowIds(const std::vector<PortableWindowInfo>& windows)
{
    std::vector<std::string> ids;
    ids.reserve(windows.size());
    std::vector<std::uint64_t> hashes;   // before the ordinal: alike windows are told apart by it
    hashes.reserve(windows.size());
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const PortableWindowInfo& w = windows[i];
        std::uint64_t hash = 14695981039346656037ull;
        auto mix = [&hash](const void* data, std::size_t size) {
            for (std::size_t k = 0; k < size; ++k) {
                hash ^= static_cast<const unsigned char*>(data)[k];
                hash *= 1099511628211ull;
            }
        };
        // The parent or owner, when it came before: a child's parent is the nearest window
        // above it one level up (the snapshot lists each window's subtree after it).
        HWND up = w.parent ? w.parent : w.owner;
        for (std::size_t k = i; up && k-- > 0;)
            if (windows[k].window == up) {
                mix(ids[k].data(), ids[k].size());
                break;
            } else if (w.parent && windows[k].depth < w.depth) {
                break;
            }
        mix(w.className.data(), w.className.size() * sizeof(char16_t));
        long fields[] = {w.depth, w.id, long(w.style), w.rect.left, w.rect.top, w.rect.right, w.rect.bottom};
        mix(fields, sizeof fields);
        int ordinal = int(std::count(hashes.begin(), hashes.end(), hash));
        hashes.push_back(hash);
        mix(&ordinal, sizeof ordinal);
        static const char digits[] = "0123456789abcdef";
        std::string id(17, 'w');
        for (int d = 0; d < 16; ++d)
            id[std::size_t(16 - d)] = digits[(hash >> (4 * d)) & 0xF];
        ids.push_back(std::move(id));
    }
    return ids;
}

std::string webWindowId(HWND window)
{
    std::vector<PortableWindowInfo> all = portableSnapshot();
    std::vector<std::string> ids = webWindowIds(all);
    for (std::size_t i = 0; i < all.size(); ++i)
        if (all[i].window == window)
            return ids[i];
    return {};
}

WebScreen webScreenParts()
{
    WebScreen screen;
    std::vector<PortableWindowInfo> all = portableSnapshot();
    std::vector<std::string> allIds = webWindowIds(all);
    std::map<HWND, std::size_t> at;
    for (std::size_t i = 0; i < all.size(); ++i)
        at[all[i].window] = i;
    auto idOf = [&](HWND h) { auto it = at.find(h); return it == at.end() ? std::string() : allIds[it->second]; };
    HWND modal = portableModalTop();
    nlohmann::json members;
    members["width"] = GetSystemMetrics(SM_CXSCREEN);
    members["height"] = GetSystemMetrics(SM_CYSCREEN);
    members["modal"] = modal ? idOf(modal) : "";
    members["report"] = webReportAvailable();
    screen.members = members.dump();
    screen.members = screen.members.substr(1, screen.members.size() - 2);
    std::map<std::string, MadePart>& parts = madeParts();
    for (std::size_t i = 0; i < all.size(); ++i) {
        PortableWindowInfo& w = all[i];
        if (!w.visible)
            continue;
        WindowState s;
        s.kind = kindOf(w);
        s.id = allIds[i];
        s.parent = idOf(w.parent);
        s.owner = idOf(w.owner);
        s.client = clientOnScreen(w.window);
        const nlohmann::json& font = fontOf(w.font, &s.fontSerial);
        s.colors = colorsOf(w, s.kind);
        if (s.kind == "listbox")
            s.itemHeight = (int)SendMessageW(w.window, LB_GETITEMHEIGHT, 0, 0);
        if (s.kind == "window" || s.kind == "owner")
            s.surfaceVersion = portableWindowSurfaceVersion(w.window);
        HWND window = w.window;
        s.info = std::move(w);
        s.info.window = s.info.parent = s.info.owner = nullptr;
        s.info.font = nullptr;
        MadePart& made = parts[s.id];
        if (!made.json || !(made.state == s)) {
            made.json = std::make_shared<const std::string>(windowJson(window, s, font, made));
            made.state = std::move(s);
        }
        screen.ids.push_back(made.state.id);
        screen.windows.push_back(made.json);
    }
    forgetGoneParts(screen.ids);
    return screen;
}

std::string webScreenJson(const WebScreen& screen, const std::string& more)
{
    std::size_t size = screen.members.size() + more.size() + 16;
    for (const auto& w : screen.windows)
        size += w->size() + 1;
    std::string out;
    out.reserve(size);
    out += '{';
    out += more;
    out += screen.members;
    out += ",\"windows\":[";
    for (std::size_t i = 0; i < screen.windows.size(); ++i) {
        if (i)
            out += ',';
        out += *screen.windows[i];
    }
    out += "]}";
    return out;
}

nlohmann::json webScreen()
{
    return nlohmann::json::parse(webScreenJson(webScreenParts(), ""));
}
