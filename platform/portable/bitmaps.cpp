// Bitmaps and pixel operations of the portable platform: colour bitmaps, BitBlt, FillRect,
// GetPixel and SetPixel on whatever a device context draws on, clipped to its bounds.
// Differs from Windows in: BitBlt knows only the raster operations that need no pattern.
#include "platform/portable/gdi_records.h"
#include "platform/portable/graphics.h"

#include <algorithm>
#include <cstdio>

static const int largestSide = 4096;

PortableGdiObject* gdiNewBitmap(int width, int height, COLORREF fill)
{
    PortableGdiObject* bitmap = gdiNewObject(GdiKind::Bitmap);
    bitmap->width = width;
    bitmap->height = height;
    bitmap->pixels.assign(static_cast<std::size_t>(width) * height, fill);
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
    // Copy through a buffer so that overlapping copies within one surface read the old pixels.
    std::vector<COLORREF> row(static_cast<std::size_t>(std::max(width, 0)));
    for (int j = 0; j < height; j++) {
        int ty = y + j, sy = sourceY + j;
        if (ty < 0 || ty >= to->height)
            continue;
        for (int i = 0; i < width; i++) {
            int sx = sourceX + i;
            // Outside the source, Windows copies nothing meaningful; we keep the destination.
            bool inside = from && sx >= 0 && sy >= 0 && sx < from->width && sy < from->height;
            row[i] = inside ? from->pixels[static_cast<std::size_t>(sy) * from->width + sx] : CLR_INVALID;
        }
        for (int i = 0; i < width; i++) {
            int tx = x + i;
            if (tx < 0 || tx >= to->width || (needsSource && row[i] == CLR_INVALID) || !gdiInClip(dest, tx, ty))
                continue;
            COLORREF& pixel = to->pixels[static_cast<std::size_t>(ty) * to->width + tx];
            pixel = applyRop(rop, row[i], pixel);
        }
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
    long left = std::max<long>(rect->left, 0), right = std::min<long>(rect->right, to->width);
    long top = std::max<long>(rect->top, 0), bottom = std::min<long>(rect->bottom, to->height);
    for (long y = top; y < bottom; y++)
        for (long x = left; x < right; x++)
            if (gdiInClip(dc, x, y))
                to->pixels[static_cast<std::size_t>(y) * to->width + x] = brush->color;
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
