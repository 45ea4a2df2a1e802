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

#include <cstdio>
#include <cstring>

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

std::string surfacePng(HWND window)
{
    int width = 0, height = 0;
    const COLORREF* pixels = nullptr;
    if (!portableWindowPixels(window, &width, &height, &pixels))
        return {};
    std::string png = webPng(width, height, pixels);
    return png.empty() ? std::string() : "data:image/png;base64," + webBase64(png);
}

nlohmann::json windowJson(const PortableWindowInfo& w)
{
    nlohmann::json j;
    std::string kind = kindOf(w);
    j["id"] = webHandleId(w.window);
    j["parent"] = w.parent ? webHandleId(w.parent) : "";
    j["owner"] = w.owner ? webHandleId(w.owner) : "";
    j["depth"] = w.depth;
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

nlohmann::json webScreen()
{
    nlohmann::json screen;
    screen["width"] = GetSystemMetrics(SM_CXSCREEN);
    screen["height"] = GetSystemMetrics(SM_CYSCREEN);
    HWND modal = portableModalTop();
    screen["modal"] = modal ? webHandleId(modal) : "";
    nlohmann::json windows = nlohmann::json::array();
    for (const PortableWindowInfo& w : portableSnapshot())
        if (w.visible)
            windows.push_back(windowJson(w));
    screen["windows"] = windows;
    return screen;
}
