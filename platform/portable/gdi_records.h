// Records behind the graphics handles of the portable platform (fonts, bitmaps, brushes, pens,
// icons, device contexts) and the calls between its graphics files.
// Every handle given out is registered while it lives, so a stale or foreign handle is refused
// instead of being followed.
#pragma once
#include "platform/winapi.h"

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

enum class GdiKind { Font, Bitmap, Brush, Pen, Icon };

struct PortableFaceFile;  // a font file opened with FreeType (fonts.cpp)

// Every pixel of a bitmap is set when it is made (filled or decoded), so a pixel buffer leaves new
// elements unset instead of zeroing them first.
template <typename T>
struct UnsetAllocator : std::allocator<T> {
    template <typename U>
    struct rebind {
        using other = UnsetAllocator<U>;
    };
    UnsetAllocator() = default;
    template <typename U>
    UnsetAllocator(const UnsetAllocator<U>&) noexcept
    {
    }
    template <typename U>
    void construct(U* at) noexcept
    {
        ::new (static_cast<void*>(at)) U;
    }
    template <typename U, typename... Args>
    void construct(U* at, Args&&... args)
    {
        ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
    }
};
using PixelBuffer = std::vector<COLORREF, UnsetAllocator<COLORREF>>;

struct PortableGdiObject {
    GdiKind kind = GdiKind::Brush;
    bool stock = false;   // stock objects are never deleted
    int selections = 0;   // device contexts the object is selected into

    // Font: the request and what it was mapped onto.
    LOGFONTW request{};
    PortableFaceFile* file = nullptr;
    int pixelHeight = 0;
    bool bold = false, italic = false, underline = false;
    TEXTMETRICW metrics{};      // measured with FreeType
    short advances[256] = {};   // rounded advances of U+0000..U+00FF; -1 = not yet measured
    long xScale = 0;            // FreeType's x scale at the pixel size; 0 = not yet asked

    // Bitmap: 0x00BBGGRR pixels, top row first.
    int width = 0, height = 0, bitsPerPixel = 24;
    PixelBuffer pixels;
    // Changes whenever something may have drawn on it (every gdiTarget), never repeats across
    // objects: hosts re-encode a surface only when its version moved.
    unsigned long long version = 0;

    // Brush or pen.
    COLORREF color = 0;
    bool hollow = false;

    // Icon: its largest image.
    PortableGdiObject* image = nullptr;
};

struct PortableDc {
    bool memory = false;      // CreateCompatibleDC
    bool screen = false;      // GetDC(nullptr)
    HWND window = nullptr;    // window DC; cleared when the window is destroyed
    bool detached = false;    // its window is gone: drawing does nothing, ReleaseDC frees it
    HFONT font = nullptr;
    HBITMAP bitmap = nullptr; // memory DC: the selected bitmap
    HBRUSH brush = nullptr;
    HGDIOBJ pen = nullptr;
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF backColor = RGB(255, 255, 255);
    int backMode = OPAQUE;
    bool clipped = false;     // BeginPaint: drawing stays inside the update rectangle
    RECT clip{};
};

// Whether a DC may draw at (x, y) of its target.
inline bool gdiInClip(const PortableDc* dc, long x, long y)
{
    return !dc->clipped || (x >= dc->clip.left && x < dc->clip.right && y >= dc->clip.top && y < dc->clip.bottom);
}

// Handle registries (gdi.cpp).
bool gdiLiveObject(HGDIOBJ object);
bool gdiLiveDc(HDC dc);
PortableGdiObject* gdiNewObject(GdiKind kind);
// The pixels a device context draws on; nullptr when it has none (a detached window DC).
PortableGdiObject* gdiTarget(HDC dc);

// Fonts (fonts.cpp).
HFONT gdiStockFont(int which);
int gdiCharAdvance(HFONT font, WCHAR c);
// The FreeType face of a font set to its pixel size (for drawing); nullptr under the test face.
struct FT_FaceRec_;
FT_FaceRec_* gdiSizedFace(HFONT font);
void gdiMeasuredMetrics(HFONT font, TEXTMETRICW* metrics);

// Bitmaps (bitmaps.cpp).
PortableGdiObject* gdiNewBitmap(int width, int height, COLORREF fill);
// A bitmap whose every pixel the caller sets.
PortableGdiObject* gdiNewUnsetBitmap(int width, int height);
// Sets count pixels to one colour.
void gdiFillPixels(COLORREF* pixels, std::size_t count, COLORREF color);
// A bitmap from a packed DIB (BITMAPINFOHEADER and rows); nullptr when it is damaged or of a
// kind not read (images.cpp). icon: the header's height counts the mask rows too.
PortableGdiObject* gdiDecodeDib(const BYTE* data, DWORD size, bool icon);
