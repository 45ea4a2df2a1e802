// Bitmaps and icons from resources: LoadBitmapW decodes a 24-bit (or 32-bit) uncompressed DIB,
// LoadIconW the largest image of an icon group. Every size and offset is checked against the
// resource's length first; a damaged resource loads as nothing.
// Differs from Windows in: LoadBitmapW gives a 24-bit bitmap, whatever the display's depth.
#include "platform/portable/gdi_records.h"

#include <cstdint>
#include <cstring>
#include <map>

namespace {

// Reads little-endian values; a read past the end gives 0 and marks the cursor bad.
struct Cursor {
    const BYTE* data;
    DWORD size;
    DWORD at = 0;
    bool bad = false;

    DWORD read(int bytes)
    {
        if (bad || size - at < static_cast<DWORD>(bytes) || at > size) {
            bad = true;
            return 0;
        }
        DWORD value = 0;
        for (int i = 0; i < bytes; i++)
            value |= static_cast<DWORD>(data[at + i]) << (8 * i);
        at += bytes;
        return value;
    }

    void skip(DWORD bytes)
    {
        if (bad || at > size || size - at < bytes)
            bad = true;
        else
            at += bytes;
    }
};

const long largestSide = 4096;

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "pixels are read as little-endian words");

}  // namespace

// An icon's header counts the colour rows and the mask rows together; its mask is not kept.
PortableGdiObject* gdiDecodeDib(const BYTE* data, DWORD size, bool icon)
{
    Cursor in{data, size};
    DWORD headerSize = in.read(4);
    long width = static_cast<int>(in.read(4));
    long height = static_cast<int>(in.read(4));
    DWORD planes = in.read(2), bits = in.read(2), compression = in.read(4);
    in.skip(12);
    DWORD colorsUsed = in.read(4);
    if (in.bad || headerSize < 40 || headerSize > size || planes != 1 || compression != BI_RGB)
        return nullptr;
    if ((bits != 24 && bits != 32) || colorsUsed != 0)
        return nullptr;
    bool topDown = height < 0 && !icon;
    if (topDown)
        height = -height;
    if (icon)
        height /= 2;
    if (width <= 0 || height <= 0 || width > largestSide || height > largestSide)
        return nullptr;
    DWORD stride = static_cast<DWORD>((width * bits + 31) / 32 * 4);
    if ((size - headerSize) / stride < static_cast<DWORD>(height))
        return nullptr;
    PortableGdiObject* bitmap = gdiNewUnsetBitmap(static_cast<int>(width), static_cast<int>(height));
    const BYTE* rows = data + headerSize;
    std::size_t step = bits / 8;
    for (long y = 0; y < height; y++) {
        const BYTE* p = rows + stride * static_cast<DWORD>(topDown ? y : height - 1 - y);
        COLORREF* out = bitmap->pixels.data() + std::size_t(y) * width;
        // Blue, green, red as read (the last pixel of a row may end the resource, so it is read
        // byte by byte): one load and a byte swap put them in COLORREF's order.
        auto pixel = [step](const BYTE* row, long x) {
            std::uint32_t bgr;
            std::memcpy(&bgr, row + x * step, sizeof bgr);
            return COLORREF(__builtin_bswap32(bgr) >> 8);
        };
        long x = 0;
        for (; x + 4 < width; x += 4) {
            out[x] = pixel(p, x);
            out[x + 1] = pixel(p, x + 1);
            out[x + 2] = pixel(p, x + 2);
            out[x + 3] = pixel(p, x + 3);
        }
        for (; x + 1 < width; x++)
            out[x] = pixel(p, x);
        const BYTE* last = p + (width - 1) * step;
        out[width - 1] = RGB(last[2], last[1], last[0]);
    }
    return bitmap;
}

namespace {

const BYTE* resourceBytes(HINSTANCE instance, LPCWSTR name, LPCWSTR type, DWORD* size)
{
    HRSRC found = FindResourceW(instance, name, type);
    *size = found ? SizeofResource(instance, found) : 0;
    return found ? static_cast<const BYTE*>(LockResource(LoadResource(instance, found))) : nullptr;
}

// The group lists its images (14 bytes each: width, height, colours, reserved, planes, bits,
// bytes, id); the widest one is taken.
PortableGdiObject* loadIconImage(HINSTANCE instance, LPCWSTR name)
{
    DWORD size = 0;
    const BYTE* group = resourceBytes(instance, name, RT_GROUP_ICON, &size);
    if (!group)
        return nullptr;
    Cursor in{group, size};
    in.read(4);
    DWORD count = in.read(2);
    int bestWidth = -1;
    DWORD bestId = 0;
    for (DWORD i = 0; i < count && !in.bad; i++) {
        int width = static_cast<int>(in.read(1));
        in.skip(11);
        DWORD id = in.read(2);
        if (width == 0)
            width = 256;
        if (!in.bad && width > bestWidth) {
            bestWidth = width;
            bestId = id;
        }
    }
    if (in.bad || bestWidth < 0)
        return nullptr;
    const BYTE* image = resourceBytes(instance, MAKEINTRESOURCEW(bestId), RT_ICON, &size);
    return image ? gdiDecodeDib(image, size, true) : nullptr;
}

}  // namespace

HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name)
{
    DWORD size = 0;
    const BYTE* data = name ? resourceBytes(instance, name, RT_BITMAP, &size) : nullptr;
    return data ? gdiDecodeDib(data, size, false) : nullptr;
}

// Icons are shared: loading the same one again gives the same handle, as LoadIconW does.
HICON LoadIconW(HINSTANCE instance, LPCWSTR name)
{
    static std::map<UINT_PTR, PortableGdiObject*>& loaded = *new std::map<UINT_PTR, PortableGdiObject*>;
    if (!name || !IS_INTRESOURCE(name))
        return nullptr;
    UINT_PTR key = reinterpret_cast<UINT_PTR>(name);
    auto found = loaded.find(key);
    if (found != loaded.end())
        return found->second;
    PortableGdiObject* image = key == reinterpret_cast<UINT_PTR>(IDI_APPLICATION)
                                   ? gdiNewBitmap(32, 32, RGB(255, 255, 255))
                                   : loadIconImage(instance, name);
    if (!image)
        return nullptr;
    image->stock = true;
    PortableGdiObject* icon = gdiNewObject(GdiKind::Icon);
    icon->stock = true;
    icon->image = image;
    icon->width = image->width;
    icon->height = image->height;
    loaded[key] = icon;
    return icon;
}

BOOL DestroyIcon(HICON icon) { return gdiLiveObject(icon) && icon->kind == GdiKind::Icon; }
