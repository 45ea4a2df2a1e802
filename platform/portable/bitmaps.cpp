// Bitmaps and pixel operations of the portable platform: colour bitmaps, BitBlt, FillRect,
// GetPixel and SetPixel on whatever a device context draws on, clipped to its bounds.
// Differs from Windows in: BitBlt knows only the raster operations that need no pattern.
#include "platform/portable/gdi_records.h"
#include "platform/portable/graphics.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

static const int largestSide = 4096;

// Four pixels a store (large memset and memcpy calls cost one instruction a byte under callgrind's
// count, with their string instructions).
void gdiFillPixels(COLORREF* pixels, std::size_t count, COLORREF color)
{
    typedef COLORREF Quad __attribute__((vector_size(16)));
    const Quad quad = {color, color, color, color};
    std::size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        std::memcpy(pixels + i, &quad, sizeof quad);
        std::memcpy(pixels + i + 4, &quad, sizeof quad);
        std::memcpy(pixels + i + 8, &quad, sizeof quad);
        std::memcpy(pixels + i + 12, &quad, sizeof quad);
    }
    for (; i < count; i++)
        pixels[i] = color;
}

PortableGdiObject* gdiNewUnsetBitmap(int width, int height)
{
    PortableGdiObject* bitmap = gdiNewObject(GdiKind::Bitmap);
    bitmap->width = width;
    bitmap->height = height;
    bitmap->pixels.resize(static_cast<std::size_t>(width) * height);
    return bitmap;
}

PortableGdiObject* gdiNewBitmap(int width, int height, COLORREF fill)
{
    PortableGdiObject* bitmap = gdiNewUnsetBitmap(width, height);
    gdiFillPixels(bitmap->pixels.data(), bitmap->pixels.size(), fill);
    return bitmap;
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height)
{
    if (width <= 0 || height <= 0 || width > largestSide || height > largestSide)
        return nullptr;
    return gdiNewBitmap(width, height, RGB(0, 0, 0));
}

static COLORREF applyRop(DWORD rop, COLORREF source, COLORREF dest)
{
    switch (rop) {
    case SRCCOPY: return source;
    case SRCPAINT: return source | dest;
    case SRCAND: return source & dest;
    case SRCINVERT: return source ^ dest;
    case NOTSRCCOPY: return ~source & 0x00FFFFFF;
    case BLACKNESS: return RGB(0, 0, 0);
    case WHITENESS: return RGB(255, 255, 255);
    }
    return dest;
}

static bool knownRop(DWORD rop)
{
    return rop == SRCCOPY || rop == SRCPAINT || rop == SRCAND || rop == SRCINVERT || rop == NOTSRCCOPY ||
           rop == BLACKNESS || rop == WHITENESS;
}

// The part of a rectangle a DC may draw on: inside its target and its clip rectangle.
static RECT drawableRect(const PortableDc* dc, const PortableGdiObject* target, long long left, long long top,
                         long long right, long long bottom)
{
    left = std::max<long long>(left, 0);
    top = std::max<long long>(top, 0);
    right = std::min<long long>(right, target->width);
    bottom = std::min<long long>(bottom, target->height);
    if (dc->clipped) {
        left = std::max<long long>(left, dc->clip.left);
        top = std::max<long long>(top, dc->clip.top);
        right = std::min<long long>(right, dc->clip.right);
        bottom = std::min<long long>(bottom, dc->clip.bottom);
    }
    if (right <= left || bottom <= top)
        return RECT{0, 0, 0, 0};
    return RECT{long(left), long(top), long(right), long(bottom)};
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop)
{
    if (!gdiLiveDc(dest) || !knownRop(rop) || width < 0 || height < 0)
        return FALSE;
    bool needsSource = rop != BLACKNESS && rop != WHITENESS;
    if (needsSource && !gdiLiveDc(source))
        return FALSE;
    PortableGdiObject* to = gdiTarget(dest);
    PortableGdiObject* from = needsSource ? gdiTarget(source) : nullptr;
    if (!to || (needsSource && !from))
        return TRUE;  // a detached window DC: nothing to draw on, as for a hidden window
    // Clipped once: to the destination, its clip rectangle and, when read, the source (outside
    // the source Windows copies nothing meaningful; the destination is kept there).
    long long left = x, top = y, right = (long long)x + width, bottom = (long long)y + height;
    long long dx = (long long)sourceX - x, dy = (long long)sourceY - y;
    if (from) {
        left = std::max(left, -dx);
        top = std::max(top, -dy);
        right = std::min(right, from->width - dx);
        bottom = std::min(bottom, from->height - dy);
    }
    RECT r = drawableRect(dest, to, left, top, right, bottom);
    std::size_t columns = std::size_t(r.right - r.left);
    if (columns == 0)
        return TRUE;
    // Within one surface the source is read before anything is written, as if copied first.
    PixelBuffer before;
    if (from == to)
        before = from->pixels;
    const COLORREF* in = from ? (from == to ? before.data() : from->pixels.data()) : nullptr;
    for (long ty = r.top; ty < r.bottom; ty++) {
        COLORREF* out = &to->pixels[std::size_t(ty) * to->width + r.left];
        const COLORREF* row = in ? in + std::size_t(ty + dy) * from->width + std::size_t(r.left + dx) : nullptr;
        if (rop == SRCCOPY) {
            std::copy_n(row, columns, out);
            continue;
        }
        for (std::size_t i = 0; i < columns; i++)
            out[i] = applyRop(rop, row ? row[i] : 0, out[i]);
    }
    return TRUE;
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brush)
{
    if (!gdiLiveDc(dc) || !rect || !gdiLiveObject(brush) || brush->kind != GdiKind::Brush)
        return 0;
    PortableGdiObject* to = gdiTarget(dc);
    if (!to || brush->hollow)
        return 1;
    RECT r = drawableRect(dc, to, rect->left, rect->top, rect->right, rect->bottom);
    for (long y = r.top; y < r.bottom; y++)
        gdiFillPixels(&to->pixels[std::size_t(y) * to->width + r.left], std::size_t(r.right - r.left), brush->color);
    return 1;
}

COLORREF GetPixel(HDC dc, int x, int y)
{
    PortableGdiObject* from = gdiTarget(dc);
    if (!from || x < 0 || y < 0 || x >= from->width || y >= from->height)
        return CLR_INVALID;
    return from->pixels[static_cast<std::size_t>(y) * from->width + x];
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color)
{
    PortableGdiObject* to = gdiTarget(dc);
    if (!to || x < 0 || y < 0 || x >= to->width || y >= to->height)
        return CLR_INVALID;
    if (!gdiInClip(dc, x, y))
        return color & 0x00FFFFFF;
    to->pixels[static_cast<std::size_t>(y) * to->width + x] = color & 0x00FFFFFF;
    return color & 0x00FFFFFF;
}

bool portableSaveBmp(const char* path, int width, int height, const COLORREF* pixels)
{
    if (!path || !pixels || width <= 0 || height <= 0 || width > largestSide || height > largestSide)
        return false;
    int stride = (width * 3 + 3) / 4 * 4;
    std::vector<BYTE> file(54 + static_cast<std::size_t>(stride) * height, 0);
    auto put = [&file](std::size_t at, DWORD value, int bytes) {
        for (int i = 0; i < bytes; i++)
            file[at + i] = static_cast<BYTE>(value >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put(2, static_cast<DWORD>(file.size()), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, static_cast<DWORD>(width), 4);
    put(22, static_cast<DWORD>(height), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    put(34, static_cast<DWORD>(stride) * height, 4);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            COLORREF p = pixels[static_cast<std::size_t>(height - 1 - y) * width + x];
            std::size_t at = 54 + static_cast<std::size_t>(y) * stride + x * 3;
            file[at] = GetBValue(p);
            file[at + 1] = GetGValue(p);
            file[at + 2] = GetRValue(p);
        }
    std::FILE* out = std::fopen(path, "wb");
    if (!out)
        return false;
    bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && written;
}
