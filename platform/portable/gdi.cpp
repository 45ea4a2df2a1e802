// Device contexts and graphics objects of the portable platform: window, screen and memory DCs,
// what is selected into them, stock objects, and each window's RGB surface.
// Differs from Windows in: every window (child or not) has a surface of its own, the size of its
// client area, which a host composes; a window DC starts, as on Windows, with the system font
// (WM_SETFONT does not reach it); CreateCompatibleBitmap always makes a colour bitmap.
#include "platform/portable/gdi_records.h"
#include "platform/portable/graphics.h"
#include "platform/portable/internal.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <set>

// Kept for the whole run (never destroyed), so what they hold stays reachable at exit.
static std::set<const PortableGdiObject*>& liveObjects = *new std::set<const PortableGdiObject*>;
static std::set<const PortableDc*>& liveDcs = *new std::set<const PortableDc*>;
static std::map<HWND, PortableGdiObject*>& surfaces = *new std::map<HWND, PortableGdiObject*>;
static PortableGdiObject* screenSurface = nullptr;


// The last handle of each kind found live, cleared when it is freed: the same DC or object is
// mostly asked about many times in a row (a measuring context, character after character).
static const PortableGdiObject* lastLiveObject = nullptr;
static const PortableDc* lastLiveDc = nullptr;

template <typename Record>
static bool liveIn(const std::set<const Record*>& live, const Record*& last, const Record* handle)
{
    if (handle && handle == last)
        return true;
    if (!handle || live.count(handle) == 0)
        return false;
    last = handle;
    return true;
}

bool gdiLiveObject(HGDIOBJ object) { return liveIn(liveObjects, lastLiveObject, static_cast<const PortableGdiObject*>(object)); }
bool gdiLiveDc(HDC dc) { return liveIn(liveDcs, lastLiveDc, static_cast<const PortableDc*>(dc)); }

static unsigned long long drawVersions = 0;

PortableGdiObject* gdiNewObject(GdiKind kind)
{
    PortableGdiObject* object = new PortableGdiObject;
    object->kind = kind;
    object->version = ++drawVersions;
    liveObjects.insert(object);
    return object;
}

static void freeObject(PortableGdiObject* object)
{
    liveObjects.erase(object);
    if (lastLiveObject == object)
        lastLiveObject = nullptr;
    delete object;
}

static PortableGdiObject* stockBrush(COLORREF color, bool hollow)
{
    PortableGdiObject* brush = gdiNewObject(GdiKind::Brush);
    brush->stock = true;
    brush->color = color;
    brush->hollow = hollow;
    return brush;
}

HGDIOBJ GetStockObject(int which)
{
    static PortableGdiObject* stock[DEFAULT_GUI_FONT + 1] = {};
    if (which < 0 || which > DEFAULT_GUI_FONT)
        return nullptr;
    if (stock[which])
        return stock[which];
    static const COLORREF brushColors[] = {RGB(255, 255, 255), RGB(192, 192, 192), RGB(128, 128, 128),
                                           RGB(64, 64, 64), RGB(0, 0, 0)};
    PortableGdiObject* object = nullptr;
    if (which <= BLACK_BRUSH) {
        object = stockBrush(brushColors[which], false);
    } else if (which == NULL_BRUSH) {
        object = stockBrush(0, true);
    } else if (which >= WHITE_PEN && which <= NULL_PEN) {
        object = gdiNewObject(GdiKind::Pen);
        object->stock = true;
        object->color = which == WHITE_PEN ? RGB(255, 255, 255) : RGB(0, 0, 0);
        object->hollow = which == NULL_PEN;
    } else if (which >= OEM_FIXED_FONT && which != 15) {
        object = gdiStockFont(which);
    }
    stock[which] = object;
    return object;
}

// The 1 x 1 bitmap every new memory DC starts with.
static PortableGdiObject* defaultBitmap()
{
    static PortableGdiObject* bitmap = nullptr;
    if (!bitmap) {
        bitmap = gdiNewBitmap(1, 1, RGB(255, 255, 255));
        bitmap->bitsPerPixel = 1;
        bitmap->stock = true;
    }
    return bitmap;
}

static PortableDc* newDc()
{
    PortableDc* dc = new PortableDc;
    dc->font = gdiStockFont(SYSTEM_FONT);
    dc->brush = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    dc->pen = GetStockObject(BLACK_PEN);
    dc->font->selections++;
    dc->brush->selections++;
    dc->pen->selections++;
    liveDcs.insert(dc);
    return dc;
}

static void releaseSelections(PortableDc* dc)
{
    for (PortableGdiObject* object : {dc->font, dc->bitmap, dc->brush, static_cast<PortableGdiObject*>(dc->pen)})
        if (object && object->selections > 0)
            object->selections--;
}

static void freeDc(PortableDc* dc)
{
    releaseSelections(dc);
    liveDcs.erase(dc);
    if (lastLiveDc == dc)
        lastLiveDc = nullptr;
    delete dc;
}

HDC GetDC(HWND window)
{
    RECT client;
    if (window && !GetClientRect(window, &client))
        return nullptr;
    PortableDc* dc = newDc();
    dc->window = window;
    dc->screen = window == nullptr;
    return dc;
}

int ReleaseDC(HWND window, HDC dc)
{
    if (!gdiLiveDc(dc) || dc->memory || (!dc->detached && dc->window != window))
        return 0;
    freeDc(dc);
    return 1;
}

HDC CreateCompatibleDC(HDC)
{
    PortableDc* dc = newDc();
    dc->memory = true;
    dc->bitmap = defaultBitmap();
    dc->bitmap->selections++;
    return dc;
}

BOOL DeleteDC(HDC dc)
{
    if (!gdiLiveDc(dc))
        return FALSE;
    freeDc(dc);
    return TRUE;
}

static PortableGdiObject* resizedSurface(PortableGdiObject* surface, int width, int height)
{
    if (surface && surface->width == width && surface->height == height)
        return surface;
    PortableGdiObject* fresh = gdiNewBitmap(width, height, RGB(255, 255, 255));
    if (surface) {
        int columns = std::min(width, surface->width);
        for (int y = 0; columns > 0 && y < std::min(height, surface->height); y++)
            std::memcpy(&fresh->pixels[std::size_t(y) * width], &surface->pixels[std::size_t(y) * surface->width],
                        std::size_t(columns) * sizeof(COLORREF));
        freeObject(surface);
    }
    return fresh;
}

// A window DC draws in client coordinates on a surface the size of the client area.
static PortableGdiObject* windowSurface(HWND window)
{
    RECT client;
    if (!GetClientRect(window, &client))
        return nullptr;
    int width = std::clamp<long>(client.right - client.left, 0, 4096);
    int height = std::clamp<long>(client.bottom - client.top, 0, 4096);
    PortableGdiObject*& surface = surfaces[window];
    surface = resizedSurface(surface, width, height);
    return surface;
}

static PortableGdiObject* targetOf(HDC dc)
{
    if (!gdiLiveDc(dc) || dc->detached)
        return nullptr;
    if (dc->memory)
        return dc->bitmap;
    if (dc->screen) {
        screenSurface = resizedSurface(screenSurface, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        return screenSurface;
    }
    return windowSurface(dc->window);
}

PortableGdiObject* gdiTarget(HDC dc)
{
    PortableGdiObject* target = targetOf(dc);
    if (target)
        target->version = ++drawVersions;
    return target;
}

unsigned long long portableWindowSurfaceVersion(HWND window)
{
    auto found = surfaces.find(window);
    return found == surfaces.end() || !gdiLiveObject(found->second) ? 0 : found->second->version;
}

void portableGdiWindowDestroyed(HWND window)
{
    auto found = surfaces.find(window);
    if (found != surfaces.end()) {
        freeObject(found->second);
        surfaces.erase(found);
    }
    for (const PortableDc* live : liveDcs) {
        PortableDc* dc = const_cast<PortableDc*>(live);
        if (!dc->memory && dc->window == window) {
            dc->window = nullptr;
            dc->detached = true;
        }
    }
}

// Swaps what a DC holds of one kind; the previous object is returned, as Win32 does.
static HGDIOBJ swapSelection(PortableGdiObject*& slot, PortableGdiObject* object)
{
    PortableGdiObject* previous = slot;
    if (previous && previous->selections > 0)
        previous->selections--;
    slot = object;
    object->selections++;
    return previous;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object)
{
    if (!gdiLiveDc(dc) || !gdiLiveObject(object))
        return nullptr;
    switch (object->kind) {
    case GdiKind::Font:
        return swapSelection(dc->font, object);
    case GdiKind::Brush:
        return swapSelection(dc->brush, object);
    case GdiKind::Pen: {
        PortableGdiObject* pen = dc->pen;
        HGDIOBJ previous = swapSelection(pen, object);
        dc->pen = pen;
        return previous;
    }
    case GdiKind::Bitmap:
        // Only a memory DC takes a bitmap, and a bitmap sits in one DC at a time (all share
        // the stock 1 x 1 bitmap they start with).
        if (!dc->memory || (object->selections > 0 && dc->bitmap != object && !object->stock))
            return nullptr;
        if (dc->bitmap == object)
            return object;
        return swapSelection(dc->bitmap, object);
    case GdiKind::Icon:
        return nullptr;
    }
    return nullptr;
}

HGDIOBJ GetCurrentObject(HDC dc, UINT type)
{
    if (!gdiLiveDc(dc))
        return nullptr;
    switch (type) {
    case OBJ_FONT: return dc->font;
    case OBJ_BRUSH: return dc->brush;
    case OBJ_PEN: return dc->pen;
    case OBJ_BITMAP: return dc->memory ? dc->bitmap : nullptr;
    default: return nullptr;
    }
}

// A selected object is not deleted (Win32 leaves that undefined); a stock object never is,
// though asking succeeds.
BOOL DeleteObject(HGDIOBJ object)
{
    if (!gdiLiveObject(object) || object->kind == GdiKind::Icon)
        return FALSE;  // icons go with DestroyIcon
    if (object->stock)
        return TRUE;
    if (object->selections > 0)
        return FALSE;
    freeObject(object);
    return TRUE;
}

DWORD GetObjectType(HGDIOBJ object)
{
    if (!gdiLiveObject(object))
        return 0;
    switch (object->kind) {
    case GdiKind::Font: return OBJ_FONT;
    case GdiKind::Bitmap: return OBJ_BITMAP;
    case GdiKind::Brush: return OBJ_BRUSH;
    case GdiKind::Pen: return OBJ_PEN;
    case GdiKind::Icon: return 0;
    }
    return 0;
}

int GetObjectW(HGDIOBJ object, int size, LPVOID buffer)
{
    if (!gdiLiveObject(object))
        return 0;
    if (object->kind == GdiKind::Font) {
        if (!buffer)
            return sizeof(LOGFONTW);
        int copied = std::min<int>(size, sizeof(LOGFONTW));
        if (copied <= 0)
            return 0;
        std::copy_n(reinterpret_cast<const BYTE*>(&object->request), copied, static_cast<BYTE*>(buffer));
        return copied;
    }
    if (object->kind == GdiKind::Bitmap) {
        if (!buffer)
            return sizeof(BITMAP);
        if (size < static_cast<int>(sizeof(BITMAP)))
            return 0;
        BITMAP* bitmap = static_cast<BITMAP*>(buffer);
        bitmap->bmType = 0;
        bitmap->bmWidth = object->width;
        bitmap->bmHeight = object->height;
        bitmap->bmWidthBytes = ((object->width * object->bitsPerPixel + 15) / 16) * 2;
        bitmap->bmPlanes = 1;
        bitmap->bmBitsPixel = static_cast<WORD>(object->bitsPerPixel);
        bitmap->bmBits = nullptr;
        return sizeof(BITMAP);
    }
    return 0;
}

HBRUSH CreateSolidBrush(COLORREF color)
{
    PortableGdiObject* brush = gdiNewObject(GdiKind::Brush);
    brush->color = color & 0x00FFFFFF;
    return brush;
}

static COLORREF swapColor(HDC dc, COLORREF PortableDc::*field, COLORREF color)
{
    if (!gdiLiveDc(dc))
        return CLR_INVALID;
    COLORREF previous = dc->*field;
    dc->*field = color & 0x00FFFFFF;
    return previous;
}

COLORREF SetTextColor(HDC dc, COLORREF color) { return swapColor(dc, &PortableDc::textColor, color); }
COLORREF SetBkColor(HDC dc, COLORREF color) { return swapColor(dc, &PortableDc::backColor, color); }

int SetBkMode(HDC dc, int mode)
{
    if (!gdiLiveDc(dc) || (mode != TRANSPARENT && mode != OPAQUE))
        return 0;
    int previous = dc->backMode;
    dc->backMode = mode;
    return previous;
}

bool portableWindowPixels(HWND window, int* width, int* height, const COLORREF** pixels)
{
    auto found = surfaces.find(window);
    if (found == surfaces.end() || !width || !height || !pixels)
        return false;
    return portableBitmapPixels(found->second, width, height, pixels);
}

bool portableBitmapPixels(HBITMAP bitmap, int* width, int* height, const COLORREF** pixels)
{
    if (!gdiLiveObject(bitmap) || bitmap->kind != GdiKind::Bitmap || !width || !height || !pixels)
        return false;
    *width = bitmap->width;
    *height = bitmap->height;
    *pixels = bitmap->pixels.data();
    return true;
}
