// Bitmaps and copying: BitBlt between memory DCs with clipping and overlap, the raster
// operations, what SelectObject and DeleteObject allow, and damaged bitmap data.
#include "helpers.h"
#include "platform/portable/gdi_records.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

// A memory DC holding a new bitmap of the given size, filled with a pattern unique per pixel.
struct Canvas {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
    Canvas(int width, int height, bool pattern)
    {
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateCompatibleBitmap(dc, width, height);
        previous = SelectObject(dc, bitmap);
        for (int y = 0; y < height && pattern; y++)
            for (int x = 0; x < width; x++)
                SetPixel(dc, x, y, RGB(x, y, 7));
    }
    ~Canvas()
    {
        SelectObject(dc, previous);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
};

std::vector<BYTE> resourceCopy(int id, LPCWSTR type)
{
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(id), type);
    const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
    return std::vector<BYTE>(data, data + SizeofResource(nullptr, found));
}

}  // namespace

TEST(BitBlt, CopiesALoadedBitmapExactly)
{
    HBITMAP strip = LoadBitmapW(nullptr, MAKEINTRESOURCEW(115));
    ASSERT_NE(strip, nullptr);
    HDC source = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(source, strip);
    ASSERT_NE(old, nullptr);
    Canvas target(240, 26, false);
    ASSERT_TRUE(BitBlt(target.dc, 0, 0, 240, 26, source, 0, 0, SRCCOPY));
    for (int y = 0; y < 26; y++)
        for (int x = 0; x < 240; x++)
            ASSERT_EQ(GetPixel(target.dc, x, y), GetPixel(source, x, y)) << x << "," << y;
    SelectObject(source, old);
    DeleteDC(source);
    DeleteObject(strip);
}

TEST(BitBlt, ClipsToBothBitmaps)
{
    static const struct {
        const char* name;
        int x, y, width, height, sourceX, sourceY;
        int changed;  // destination pixels that changed
    } cases[] = {
        {"inside", 2, 2, 4, 4, 0, 0, 16},
        {"past the right and bottom", 8, 8, 5, 5, 0, 0, 4},
        {"before the left and top", -2, -3, 4, 5, 0, 0, 4},
        {"source partly outside", 0, 0, 4, 4, 8, 8, 4},
        {"source wholly outside", 0, 0, 4, 4, 20, 20, 0},
        {"zero size", 0, 0, 0, 3, 0, 0, 0},
    };
    for (const auto& c : cases) {
        Canvas source(10, 10, true);
        Canvas target(10, 10, false);
        ASSERT_TRUE(BitBlt(target.dc, c.x, c.y, c.width, c.height, source.dc, c.sourceX, c.sourceY, SRCCOPY)) << c.name;
        int changed = 0;
        for (int y = 0; y < 10; y++)
            for (int x = 0; x < 10; x++) {
                COLORREF got = GetPixel(target.dc, x, y);
                if (got == RGB(0, 0, 0))
                    continue;
                changed++;
                EXPECT_EQ(got, RGB(x - c.x + c.sourceX, y - c.y + c.sourceY, 7)) << c.name << " at " << x << "," << y;
            }
        EXPECT_EQ(changed, c.changed) << c.name;
    }
}

TEST(BitBlt, OverlappingCopyReadsTheOldPixels)
{
    Canvas canvas(6, 1, true);
    ASSERT_TRUE(BitBlt(canvas.dc, 1, 0, 5, 1, canvas.dc, 0, 0, SRCCOPY));
    static const int expected[] = {0, 0, 1, 2, 3, 4};
    for (int x = 0; x < 6; x++)
        EXPECT_EQ(GetPixel(canvas.dc, x, 0), RGB(expected[x], 0, 7)) << "pixel " << x;
}

TEST(BitBlt, RasterOperations)
{
    Canvas source(2, 1, false);
    SetPixel(source.dc, 0, 0, RGB(0x0F, 0xF0, 0x55));
    static const struct {
        const char* name;
        DWORD rop;
        bool withSource;
        BOOL result;
        COLORREF expected;  // the destination started as 0x3C3C3C
    } cases[] = {
        {"SRCCOPY", SRCCOPY, true, TRUE, RGB(0x0F, 0xF0, 0x55)},
        {"SRCPAINT", SRCPAINT, true, TRUE, RGB(0x3F, 0xFC, 0x7D)},
        {"SRCAND", SRCAND, true, TRUE, RGB(0x0C, 0x30, 0x14)},
        {"SRCINVERT", SRCINVERT, true, TRUE, RGB(0x33, 0xCC, 0x69)},
        {"NOTSRCCOPY", NOTSRCCOPY, true, TRUE, RGB(0xF0, 0x0F, 0xAA)},
        {"BLACKNESS needs no source", BLACKNESS, false, TRUE, RGB(0, 0, 0)},
        {"WHITENESS needs no source", WHITENESS, false, TRUE, RGB(255, 255, 255)},
        {"SRCCOPY without a source", SRCCOPY, false, FALSE, RGB(0x3C, 0x3C, 0x3C)},
        {"a pattern operation", 0x00F00021, true, FALSE, RGB(0x3C, 0x3C, 0x3C)},
    };
    for (const auto& c : cases) {
        Canvas target(1, 1, false);
        SetPixel(target.dc, 0, 0, RGB(0x3C, 0x3C, 0x3C));
        EXPECT_EQ(BitBlt(target.dc, 0, 0, 1, 1, c.withSource ? source.dc : nullptr, 0, 0, c.rop), c.result) << c.name;
        EXPECT_EQ(GetPixel(target.dc, 0, 0), c.expected) << c.name;
    }
}

TEST(Objects, WhatSelectObjectAllows)
{
    HDC first = CreateCompatibleDC(nullptr);
    HDC second = CreateCompatibleDC(nullptr);
    HDC screen = GetDC(nullptr);
    ASSERT_NE(screen, nullptr);
    HBITMAP bitmap = LoadBitmapW(nullptr, MAKEINTRESOURCEW(106));

    HGDIOBJ initial = GetCurrentObject(first, OBJ_BITMAP);
    BITMAP info{};
    ASSERT_EQ(GetObjectW(initial, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, 1) << "a new memory DC holds a 1 x 1 monochrome bitmap";
    EXPECT_EQ(info.bmBitsPixel, 1);

    EXPECT_EQ(SelectObject(first, bitmap), initial);
    EXPECT_EQ(SelectObject(second, bitmap), nullptr) << "a bitmap sits in one DC at a time";
    EXPECT_EQ(SelectObject(screen, bitmap), nullptr) << "only memory DCs take bitmaps";
    EXPECT_FALSE(DeleteObject(bitmap)) << "a selected bitmap is not deleted";
    EXPECT_EQ(SelectObject(first, initial), bitmap);
    EXPECT_NE(SelectObject(second, bitmap), nullptr) << "free again once deselected";
    DeleteDC(second);
    EXPECT_TRUE(DeleteObject(bitmap)) << "deleting the DC deselects";
    EXPECT_EQ(SelectObject(first, bitmap), nullptr) << "a deleted bitmap is refused";
    EXPECT_EQ(GetObjectType(bitmap), 0u);

    HGDIOBJ systemFont = GetStockObject(SYSTEM_FONT);
    EXPECT_EQ(GetCurrentObject(first, OBJ_FONT), systemFont) << "a new DC has the system font";
    EXPECT_EQ(GetObjectType(systemFont), static_cast<DWORD>(OBJ_FONT));
    EXPECT_TRUE(DeleteObject(systemFont)) << "deleting a stock object does nothing";
    EXPECT_EQ(GetStockObject(SYSTEM_FONT), systemFont);
    EXPECT_EQ(GetStockObject(9), nullptr);
    EXPECT_EQ(GetStockObject(-1), nullptr);

    EXPECT_EQ(ReleaseDC(nullptr, first), 0) << "a memory DC is not released";
    EXPECT_TRUE(DeleteDC(first));
    EXPECT_FALSE(DeleteDC(first)) << "nor deleted twice";
    EXPECT_EQ(SelectObject(first, systemFont), nullptr);
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
}

TEST(Objects, FillRectAndBrushes)
{
    Canvas canvas(4, 4, false);
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    RECT area{1, 1, 3, 9};
    EXPECT_EQ(FillRect(canvas.dc, &area, brush), 1);
    int filled = 0;
    for (int y = 0; y < 4; y++)
        for (int x = 0; x < 4; x++)
            filled += GetPixel(canvas.dc, x, y) == RGB(1, 2, 3);
    EXPECT_EQ(filled, 6);
    EXPECT_EQ(FillRect(canvas.dc, &area, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))), 1);
    EXPECT_EQ(FillRect(canvas.dc, &area, nullptr), 0);
    EXPECT_EQ(GetPixel(canvas.dc, 4, 0), CLR_INVALID);
    EXPECT_TRUE(DeleteObject(brush));
}

// Rows of every width up to a few dozen pixels are filled exactly, nothing beside them.
TEST(Objects, FillRectFillsRowsOfAnyWidthExactly)
{
    for (int width = 1; width <= 40; width++) {
        Canvas canvas(48, 3, true);
        HBRUSH brush = CreateSolidBrush(RGB(200, 100, 50));
        RECT area{3, 1, 3 + width, 2};
        FillRect(canvas.dc, &area, brush);
        for (int y = 0; y < 3; y++)
            for (int x = 0; x < 48; x++) {
                bool inside = y == 1 && x >= 3 && x < 3 + width;
                ASSERT_EQ(GetPixel(canvas.dc, x, y), inside ? RGB(200, 100, 50) : RGB(x, y, 7)) << width << " " << x;
            }
        DeleteObject(brush);
    }
}

TEST(DamagedBitmaps, TruncatedDataNeverLoads)
{
    std::vector<BYTE> data = resourceCopy(106, RT_BITMAP);
    PortableGdiObject* whole = gdiDecodeDib(data.data(), static_cast<DWORD>(data.size()), false);
    ASSERT_NE(whole, nullptr);
    DeleteObject(whole);
    // Rows are padded to four bytes; even the last row's padding must be there.
    for (std::size_t length = 0; length < data.size(); length++) {
        std::vector<BYTE> cut(data.begin(), data.begin() + length);
        PortableGdiObject* bitmap = gdiDecodeDib(cut.data(), static_cast<DWORD>(cut.size()), false);
        EXPECT_EQ(bitmap, nullptr) << "cut to " << length << " bytes";
        DeleteObject(bitmap);
    }
}

TEST(DamagedBitmaps, FlippedBytesNeverCrash)
{
    std::vector<BYTE> data = resourceCopy(124, RT_BITMAP);
    std::mt19937 random(1234);
    for (int round = 0; round < 2000; round++) {
        std::vector<BYTE> damaged = data;
        for (int flips = 0; flips < 3; flips++)
            damaged[random() % 48] ^= static_cast<BYTE>(1 + random() % 255);
        PortableGdiObject* bitmap = gdiDecodeDib(damaged.data(), static_cast<DWORD>(damaged.size()), round % 2);
        if (bitmap) {
            EXPECT_LE(static_cast<std::size_t>(bitmap->width) * bitmap->height * 3, damaged.size());
            DeleteObject(bitmap);
        }
    }
}

TEST(DamagedBitmaps, KindsThatAreRefused)
{
    std::vector<BYTE> data = resourceCopy(106, RT_BITMAP);
    static const struct {
        const char* name;
        int offset, size;
        long value;
        bool loads;
    } cases[] = {
        {"as drawn", 0, 0, 0, true},
        {"8-bit", 14, 2, 8, false},
        {"RLE compressed", 16, 4, 1, false},
        {"two planes", 12, 2, 2, false},
        {"zero width", 4, 4, 0, false},
        {"negative width", 4, 4, -10, false},
        {"huge height", 8, 4, 1 << 20, false},
        {"top-down", 8, 4, -16, true},
        {"short header", 0, 4, 12, false},
        {"header past the end", 0, 4, 100000, false},
    };
    for (const auto& c : cases) {
        std::vector<BYTE> changed = data;
        for (int i = 0; i < c.size; i++)
            changed[c.offset + i] = static_cast<BYTE>(static_cast<unsigned long>(c.value) >> (8 * i));
        PortableGdiObject* bitmap = gdiDecodeDib(changed.data(), static_cast<DWORD>(changed.size()), false);
        EXPECT_EQ(bitmap != nullptr, c.loads) << c.name;
        DeleteObject(bitmap);
    }
}

TEST(DamagedBitmaps, TopDownRowsComeOutTheRightWayUp)
{
    std::vector<BYTE> data = resourceCopy(106, RT_BITMAP);
    PortableGdiObject* bottomUp = gdiDecodeDib(data.data(), static_cast<DWORD>(data.size()), false);
    // Reverse the rows and mark the header top-down.
    std::vector<BYTE> flipped = data;
    const int stride = 32, rows = 16, header = 40;
    for (int y = 0; y < rows; y++)
        std::memcpy(&flipped[header + y * stride], &data[header + (rows - 1 - y) * stride], stride);
    long height = -16;
    std::memcpy(&flipped[8], &height, 4);
    PortableGdiObject* topDown = gdiDecodeDib(flipped.data(), static_cast<DWORD>(flipped.size()), false);
    ASSERT_NE(bottomUp, nullptr);
    ASSERT_NE(topDown, nullptr);
    EXPECT_EQ(topDown->height, 16);
    EXPECT_EQ(topDown->pixels, bottomUp->pixels);
    DeleteObject(bottomUp);
    DeleteObject(topDown);
}
