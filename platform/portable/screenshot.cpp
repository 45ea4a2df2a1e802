// Screenshots of the portable platform: the screen composed from the window tree, bottom to
// top. Windows of the program's own classes and owner-drawn buttons show their surfaces (what
// the program painted); the built-in controls are drawn here in a plain handheld look, with the
// fonts, rounded advances and files the measurements use.
// Differs from Windows in: the built-in look is ours (flat grey buttons, blue captions).
#include "platform/portable/gdi_records.h"
#include "platform/portable/graphics.h"
#include "platform/portable/host.h"

#include <algorithm>
#include <vector>

namespace {

const COLORREF black = RGB(0, 0, 0);
const COLORREF white = RGB(255, 255, 255);
const COLORREF face = RGB(228, 230, 234);
const COLORREF pressedFace = RGB(168, 176, 188);
const COLORREF edge = RGB(96, 104, 116);
const COLORREF disabledText = RGB(150, 150, 150);
const COLORREF caption = RGB(24, 72, 132);
const COLORREF selection = RGB(34, 96, 158);
const COLORREF track = RGB(214, 218, 224);

RECT intersect(const RECT& a, const RECT& b)
{
    return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

void fill(HDC dc, RECT r, COLORREF color)
{
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

void outline(HDC dc, RECT r, COLORREF color, int width = 1)
{
    fill(dc, RECT{r.left, r.top, r.right, r.top + width}, color);
    fill(dc, RECT{r.left, r.bottom - width, r.right, r.bottom}, color);
    fill(dc, RECT{r.left, r.top, r.left + width, r.bottom}, color);
    fill(dc, RECT{r.right - width, r.top, r.right, r.bottom}, color);
}

long textWidth(HFONT font, const std::u16string& text, std::size_t from, std::size_t to)
{
    long width = 0;
    for (std::size_t i = from; i < to; i++)
        width += gdiCharAdvance(font, text[i]);
    return width;
}

// Breaks text at '\n' and, when wrap is set, before words that would pass the width.
std::vector<std::u16string> lines(HFONT font, const std::u16string& text, long width, bool wrap)
{
    std::vector<std::u16string> out;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(u'\n', start);
        if (end == std::u16string::npos)
            end = text.size();
        std::size_t lineStart = start;
        while (wrap && textWidth(font, text, lineStart, end) > width) {
            std::size_t cut = lineStart;
            for (std::size_t i = lineStart; i < end && textWidth(font, text, lineStart, i + 1) <= width; i++)
                if (text[i] == u' ')
                    cut = i;
            if (cut == lineStart)
                break;
            out.push_back(text.substr(lineStart, cut - lineStart));
            lineStart = cut + 1;
        }
        std::u16string line = text.substr(lineStart, end - lineStart);
        if (!line.empty() && line.back() == u'\r')
            line.pop_back();
        out.push_back(line);
        start = end + 1;
    }
    return out;
}

struct TextStyle {
    HFONT font;
    COLORREF color;
    bool centre;
    bool middle;   // centred vertically
    bool wrap;
};

void drawText(HDC dc, const std::u16string& text, RECT box, const TextStyle& style)
{
    SelectObject(dc, style.font);
    SetTextColor(dc, style.color);
    SetBkMode(dc, TRANSPARENT);
    TEXTMETRICW tm;
    GetTextMetricsW(dc, &tm);
    std::vector<std::u16string> all = lines(style.font, text, box.right - box.left, style.wrap);
    long y = box.top;
    if (style.middle)
        y += (box.bottom - box.top - static_cast<long>(all.size()) * tm.tmHeight) / 2;
    for (const std::u16string& line : all) {
        long width = textWidth(style.font, line, 0, line.size());
        long x = style.centre ? box.left + (box.right - box.left - width) / 2 : box.left;
        TextOutW(dc, static_cast<int>(x), static_cast<int>(y), line.c_str(), static_cast<int>(line.size()));
        y += tm.tmHeight;
    }
}

void copySurface(HDC canvas, HWND window, POINT origin, const RECT& client)
{
    HDC source = GetDC(window);  // a window never drawn on shows its fresh white surface
    BitBlt(canvas, origin.x, origin.y, client.right, client.bottom, source, 0, 0, SRCCOPY);
    ReleaseDC(window, source);
}

void drawFrame(HDC canvas, const PortableWindowInfo& w, const RECT& client, HFONT font)
{
    if (w.rect.top == client.top && w.rect.left == client.left)
        return;
    fill(canvas, w.rect, edge);
    if ((w.style & WS_CAPTION) == WS_CAPTION) {
        RECT bar{client.left, w.rect.top + (client.left - w.rect.left), client.right, client.top};
        fill(canvas, bar, caption);
        HFONT bold = font;
        drawText(canvas, w.text, RECT{bar.left + 4, bar.top, bar.right, bar.bottom}, {bold, white, false, true, false});
    }
}

void drawButton(HDC canvas, const PortableWindowInfo& w, const RECT& r, HFONT font, COLORREF ink)
{
    DWORD type = w.style & BS_TYPEMASK;
    if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON) {
        long size = std::min<long>(13, r.bottom - r.top);
        RECT box{r.left, r.top + (r.bottom - r.top - size) / 2, r.left + size, 0};
        box.bottom = box.top + size;
        fill(canvas, box, white);
        outline(canvas, box, edge);
        if (w.check)
            fill(canvas, RECT{box.left + 3, box.top + 3, box.right - 3, box.bottom - 3}, black);
        drawText(canvas, w.text, RECT{r.left + size + 4, r.top, r.right, r.bottom},
                 {font, ink, false, true, (w.style & BS_MULTILINE) != 0});
        return;
    }
    fill(canvas, r, w.pushed ? pressedFace : face);
    outline(canvas, r, edge, type == BS_DEFPUSHBUTTON ? 2 : 1);
    drawText(canvas, w.text, RECT{r.left + 2, r.top, r.right - 2, r.bottom}, {font, ink, true, true, (w.style & BS_MULTILINE) != 0});
}

void drawList(HDC canvas, const PortableWindowInfo& w, RECT r, HFONT font)
{
    fill(canvas, r, white);
    outline(canvas, r, edge);
    TEXTMETRICW tm;
    gdiMeasuredMetrics(font, &tm);
    long y = r.top + 1;
    for (std::size_t i = static_cast<std::size_t>(std::max(w.topIndex, 0)); i < w.items.size() && y < r.bottom; i++) {
        bool chosen = static_cast<int>(i) == w.selected || (i < w.itemSelected.size() && w.itemSelected[i]);
        RECT row{r.left + 1, y, r.right - 1, y + tm.tmHeight};
        if (chosen)
            fill(canvas, row, selection);
        drawText(canvas, w.items[i], RECT{row.left + 2, row.top, row.right, row.bottom}, {font, chosen ? white : black, false, false, false});
        y += tm.tmHeight;
    }
}

void drawCombo(HDC canvas, const PortableWindowInfo& w, RECT r, HFONT font)
{
    fill(canvas, r, white);
    outline(canvas, r, edge);
    long button = std::min<long>(r.bottom - r.top, 16);
    RECT arrow{r.right - button, r.top, r.right, r.bottom};
    fill(canvas, arrow, face);
    outline(canvas, arrow, edge);
    long cx = (arrow.left + arrow.right) / 2, cy = (arrow.top + arrow.bottom) / 2;
    for (int i = 0; i < 4; i++)
        fill(canvas, RECT{cx - 4 + i, cy - 2 + i, cx + 4 - i, cy - 1 + i}, black);
    drawText(canvas, w.text, RECT{r.left + 3, r.top, arrow.left - 1, r.bottom}, {font, black, false, true, false});
    if (w.dropped) {
        TEXTMETRICW tm;
        gdiMeasuredMetrics(font, &tm);
        long height = static_cast<long>(std::min<std::size_t>(w.items.size(), 8)) * tm.tmHeight + 2;
        PortableWindowInfo list = w;
        list.topIndex = 0;
        drawList(canvas, list, RECT{r.left, r.bottom, r.right, r.bottom + height}, font);
    }
}

void drawScrollBar(HDC canvas, const PortableWindowInfo& w, RECT r)
{
    fill(canvas, r, track);
    long width = r.right - r.left;
    RECT up{r.left, r.top, r.right, r.top + width}, down{r.left, r.bottom - width, r.right, r.bottom};
    for (const RECT& b : {up, down}) {
        fill(canvas, b, face);
        outline(canvas, b, edge);
    }
    long range = w.scroll.nMax - w.scroll.nMin + 1;
    long length = down.top - up.bottom;
    if (range <= 0 || length <= 0 || static_cast<long>(w.scroll.nPage) >= range)
        return;
    long thumb = std::max<long>(8, length * static_cast<long>(w.scroll.nPage ? w.scroll.nPage : 1) / range);
    long travel = range - static_cast<long>(std::max<UINT>(w.scroll.nPage, 1));
    long top = up.bottom + (travel > 0 ? (length - thumb) * (w.scroll.nPos - w.scroll.nMin) / travel : 0);
    RECT t{r.left + 1, top, r.right - 1, top + thumb};
    fill(canvas, t, face);
    outline(canvas, t, edge);
}

void drawWindow(HDC canvas, const PortableWindowInfo& w)
{
    RECT client{};
    POINT origin{0, 0};
    GetClientRect(w.window, &client);
    ClientToScreen(w.window, &origin);
    RECT onScreen{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
    HFONT font = gdiLiveObject(w.font) ? w.font : gdiStockFont(SYSTEM_FONT);
    COLORREF ink = w.enabled ? black : disabledText;
    const std::u16string& cls = w.className;
    drawFrame(canvas, w, onScreen, gdiStockFont(SYSTEM_FONT));
    if (cls == u"BUTTON" && (w.style & BS_TYPEMASK) != BS_OWNERDRAW)
        drawButton(canvas, w, onScreen, font, ink);
    else if (cls == u"STATIC")
        drawText(canvas, w.text, onScreen, {font, ink, (w.style & SS_TYPEMASK) == SS_CENTER, false, true});
    else if (cls == u"EDIT") {
        fill(canvas, onScreen, white);
        drawText(canvas, w.text, RECT{onScreen.left + 2, onScreen.top + 1, onScreen.right - 2, onScreen.bottom},
                 {font, ink, false, false, (w.style & ES_MULTILINE) != 0});
    } else if (cls == u"LISTBOX")
        drawList(canvas, w, onScreen, font);
    else if (cls == u"COMBOBOX")
        drawCombo(canvas, w, onScreen, font);
    else if (cls == u"SCROLLBAR")
        drawScrollBar(canvas, w, onScreen);
    else
        copySurface(canvas, w.window, origin, client);  // the program's own classes, dialogs, owner-drawn buttons
    if (cls == u"EDIT" && (w.style & WS_BORDER))
        outline(canvas, w.rect, edge);
}

}  // namespace

bool portableRenderScreen(std::vector<COLORREF>* pixels, int* width, int* height)
{
    if (!pixels || !width || !height)
        return false;
    *width = GetSystemMetrics(SM_CXSCREEN);
    *height = GetSystemMetrics(SM_CYSCREEN);
    HDC canvas = CreateCompatibleDC(nullptr);
    HBITMAP screen = CreateCompatibleBitmap(canvas, *width, *height);
    HGDIOBJ previous = SelectObject(canvas, screen);
    HGDIOBJ font = GetCurrentObject(canvas, OBJ_FONT);
    fill(canvas, RECT{0, 0, *width, *height}, white);
    std::vector<PortableWindowInfo> windows = portableSnapshot();
    std::vector<RECT> clips(windows.size());  // each window's visible area: its rectangle within its parent's
    for (std::size_t i : portablePaintOrder(windows)) {
        const PortableWindowInfo& w = windows[i];
        RECT area = intersect(w.rect, RECT{0, 0, *width, *height});
        for (std::size_t p = 0; p < i; p++)
            if (windows[p].window == w.parent)
                area = intersect(area, clips[p]);
        clips[i] = area;
        if (!w.visible || area.right <= area.left || area.bottom <= area.top)
            continue;
        canvas->clipped = true;
        canvas->clip = area;
        drawWindow(canvas, w);
    }
    SelectObject(canvas, font);
    const PixelBuffer& drawn = static_cast<PortableGdiObject*>(screen)->pixels;
    pixels->assign(drawn.begin(), drawn.end());
    SelectObject(canvas, previous);
    DeleteDC(canvas);
    DeleteObject(screen);
    return true;
}

bool portableSaveScreenshot(const char* path)
{
    std::vector<COLORREF> pixels;
    int width = 0, height = 0;
    return portableRenderScreen(&pixels, &width, &height) && portableSaveBmp(path, width, height, pixels.data());
}
