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

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>

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

nlohmann::json fontOf(HFONT font)
{
    if (!font)
        font = (HFONT)GetStockObject(SYSTEM_FONT);
    PortableFontInfo info{};
    if (!portableFontInfo(font, &info))
        return nullptr;
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
    return f;
}

std::string cssColor(COLORREF c)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", unsigned(c & 0xFF), unsigned((c >> 8) & 0xFF), unsigned((c >> 16) & 0xFF));
    return text;
}

// The colours the parent gives a control, asked as Windows asks before painting it: the
// WM_CTLCOLOR* message with a DC on the control. A parent that leaves the message to the system
// (result 0) gets the page's standard colours, so nothing is sent. A hollow brush is no
// background: what is beneath shows through.
nlohmann::json colorsOf(const PortableWindowInfo& w, const std::string& kind)
{
    bool readOnlyEdit = kind == "edit" && ((w.style & ES_READONLY) || !w.enabled);
    UINT message = kind == "static" || kind == "check" || kind == "radio" || kind == "group" || readOnlyEdit
                       ? WM_CTLCOLORSTATIC
                   : kind == "edit"                         ? WM_CTLCOLOREDIT
                   : kind == "listbox" || kind == "combo"   ? WM_CTLCOLORLISTBOX
                   : kind == "push"                         ? WM_CTLCOLORBTN
                                                            : 0;
    if (!message || !w.parent)
        return nullptr;
    HDC dc = GetDC(w.window);
    if (!dc)
        return nullptr;
    HBRUSH brush = (HBRUSH)SendMessageW(w.parent, message, (WPARAM)dc, (LPARAM)w.window);
    nlohmann::json colors;
    if (brush && gdiLiveDc(dc)) {
        colors["text"] = cssColor(dc->textColor);
        bool hollow = !gdiLiveObject(brush) || brush->kind != GdiKind::Brush || brush->hollow;
        colors["background"] = hollow ? nlohmann::json(nullptr) : nlohmann::json(cssColor(brush->color));
    }
    ReleaseDC(w.window, dc);
    return colors;
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

// Each surface is encoded once per change of its pixels: the last encoding of every window is
// kept with the surface version it was made from.
struct EncodedSurface {
    unsigned long long version = 0;
    std::string address;
};

std::map<HWND, EncodedSurface>& encodedSurfaces()
{
    static std::map<HWND, EncodedSurface> cache;
    return cache;
}

std::string surfacePng(HWND window)
{
    unsigned long long version = portableWindowSurfaceVersion(window);
    EncodedSurface& cached = encodedSurfaces()[window];
    if (version && cached.version == version)
        return cached.address;
    int width = 0, height = 0;
    const COLORREF* pixels = nullptr;
    std::string address;
    if (portableWindowPixels(window, &width, &height, &pixels)) {
        std::string png = webPng(width, height, pixels);
        if (!png.empty())
            address = "data:image/png;base64," + webBase64(png);
    }
    cached = EncodedSurface{version, address};
    return address;
}

// Forgets the encodings of windows that are gone, so that a new window given a freed handle
// never shows an old picture (the versions never repeat, this only bounds the cache).
void forgetGoneSurfaces(const std::vector<PortableWindowInfo>& windows)
{
    std::map<HWND, EncodedSurface>& cache = encodedSurfaces();
    if (cache.size() <= windows.size())
        return;
    std::map<HWND, EncodedSurface> kept;
    for (const PortableWindowInfo& w : windows)
        if (auto it = cache.find(w.window); it != cache.end())
            kept.insert(*it);
    cache.swap(kept);
}

nlohmann::json windowJson(const PortableWindowInfo& w, const std::map<HWND, std::string>& ids)
{
    nlohmann::json j;
    std::string kind = kindOf(w);
    auto idOf = [&ids](HWND h) { auto it = ids.find(h); return it == ids.end() ? std::string() : it->second; };
    j["id"] = idOf(w.window);
    j["parent"] = idOf(w.parent);
    j["owner"] = idOf(w.owner);
    j["depth"] = w.depth;
    j["z"] = w.zOrder;
    j["class"] = webUtf8(w.className);
    j["kind"] = kind;
    j["rect"] = rectJson(w.rect);
    j["client"] = rectJson(clientOnScreen(w.window));
    j["style"] = (unsigned long)w.style;
    j["exStyle"] = (unsigned long)w.exStyle;
    j["ctrlId"] = w.id;
    j["text"] = webUtf8(w.text);
    j["enabled"] = w.enabled;
    j["focused"] = w.focused;
    j["modal"] = w.modal;
    j["messageBox"] = w.messageBox;
    j["font"] = fontOf(w.font);
    j["colors"] = colorsOf(w, kind);
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
        for (bool s : w.itemSelected)
            chosen.push_back(s);
        j["itemSelected"] = chosen;
        j["selected"] = w.selected;
        j["topIndex"] = w.topIndex;
        j["dropped"] = w.dropped;
        if (kind == "listbox") {
            j["itemHeight"] = (int)SendMessageW(w.window, LB_GETITEMHEIGHT, 0, 0);
        } else {
            j["closedHeight"] = comboClosedHeight;
            j["itemHeight"] = listItemHeight;
        }
    }
    if (w.hasScroll)
        j["scroll"] = {{"min", w.scroll.nMin}, {"max", w.scroll.nMax}, {"page", w.scroll.nPage}, {"pos", w.scroll.nPos}};
    if (kind == "window" || kind == "owner") {
        std::string image = surfacePng(w.window);
        if (!image.empty())
            j["image"] = image;
    }
    return j;
}

}  // namespace

std::vector<std::string> webWindowIds(const std::vector<PortableWindowInfo>& windows)
{
    std::vector<std::string> ids;
    std::map<HWND, std::size_t> at;
    std::map<std::uint64_t, int> seen;
    for (const PortableWindowInfo& w : windows) {
        std::uint64_t hash = 14695981039346656037ull;
        auto mix = [&hash](const void* data, std::size_t size) {
            for (std::size_t i = 0; i < size; ++i) {
                hash ^= static_cast<const unsigned char*>(data)[i];
                hash *= 1099511628211ull;
            }
        };
        auto parent = at.find(w.parent ? w.parent : w.owner);
        if (parent != at.end())
            mix(ids[parent->second].data(), ids[parent->second].size());
        mix(w.className.data(), w.className.size() * sizeof(char16_t));
        long fields[] = {w.depth, w.id, long(w.style), w.rect.left, w.rect.top, w.rect.right, w.rect.bottom};
        mix(fields, sizeof fields);
        int ordinal = seen[hash]++;
        mix(&ordinal, sizeof ordinal);
        char id[24];
        std::snprintf(id, sizeof id, "w%016llx", (unsigned long long)hash);
        at[w.window] = ids.size();
        ids.push_back(id);
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

nlohmann::json webScreen()
{
    nlohmann::json screen;
    screen["width"] = GetSystemMetrics(SM_CXSCREEN);
    screen["height"] = GetSystemMetrics(SM_CYSCREEN);
    std::vector<PortableWindowInfo> all = portableSnapshot();
    std::vector<std::string> allIds = webWindowIds(all);
    std::map<HWND, std::string> ids;
    for (std::size_t i = 0; i < all.size(); ++i)
        ids[all[i].window] = allIds[i];
    HWND modal = portableModalTop();
    screen["modal"] = modal && ids.count(modal) ? ids[modal] : "";
    screen["report"] = webReportAvailable();
    nlohmann::json windows = nlohmann::json::array();
    for (const PortableWindowInfo& w : all)
        if (w.visible)
            windows.push_back(windowJson(w, ids));
    screen["windows"] = windows;
    forgetGoneSurfaces(all);
    return screen;
}
