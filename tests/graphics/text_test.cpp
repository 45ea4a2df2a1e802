// Text drawing (TextOutW): glyphs land inside the measured cell, in the text colour, with an
// opaque or transparent background, underlined when the font is.
#include "helpers.h"

#include <gtest/gtest.h>

namespace {

struct Surface {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
    Surface(int width, int height)
    {
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateCompatibleBitmap(dc, width, height);
        previous = SelectObject(dc, bitmap);
        RECT all{0, 0, width, height};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    ~Surface()
    {
        SelectObject(dc, previous);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    // The box around every pixel that is not white.
    RECT inked(int width, int height)
    {
        RECT box{width, height, -1, -1};
        for (int y = 0; y < height; y++)
            for (int x = 0; x < width; x++)
                if (GetPixel(dc, x, y) != RGB(255, 255, 255)) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
        return box;
    }
};

}  // namespace

TEST(TextOut, GlyphsStayInsideTheMeasuredCell)
{
    Surface surface(120, 30);
    std::u16string text = widen("Hello, World");
    SIZE size{};
    GetTextExtentPoint32W(surface.dc, text.c_str(), static_cast<int>(text.size()), &size);
    SetBkMode(surface.dc, TRANSPARENT);
    SetTextColor(surface.dc, RGB(0, 0, 0));
    ASSERT_TRUE(TextOutW(surface.dc, 5, 4, text.c_str(), static_cast<int>(text.size())));
    RECT box = surface.inked(120, 30);
    EXPECT_GE(box.left, 5);
    EXPECT_GE(box.top, 4);
    EXPECT_LE(box.right, 5 + size.cx);
    EXPECT_LE(box.bottom, 4 + size.cy);
    EXPECT_GT(box.right - box.left, size.cx - 4) << "the text spans its measured width";
    bool black = false;
    for (int y = box.top; y < box.bottom; y++)
        for (int x = box.left; x < box.right; x++)
            black = black || GetPixel(surface.dc, x, y) == RGB(0, 0, 0);
    EXPECT_TRUE(black) << "stems are drawn in the full text colour";
}

TEST(TextOut, OpaqueBackgroundFillsTheCell)
{
    TestFaceOn on;
    Surface surface(40, 20);
    SetBkColor(surface.dc, RGB(0, 0, 200));
    std::u16string text = widen("abc");
    ASSERT_TRUE(TextOutW(surface.dc, 2, 1, text.c_str(), 3));
    RECT box = surface.inked(40, 20);
    EXPECT_EQ(box.left, 2);
    EXPECT_EQ(box.top, 1);
    EXPECT_EQ(box.right, 2 + 18) << "three characters of the test face";
    EXPECT_EQ(box.bottom, 1 + 16);
    EXPECT_EQ(GetPixel(surface.dc, 10, 8), RGB(0, 0, 200));
}

TEST(TextOut, UnderlineAndRefusals)
{
    Surface surface(60, 20);
    LOGFONTW request{};
    request.lfHeight = 15;
    request.lfUnderline = 1;
    request.lfFaceName[0] = u'T';
    HFONT font = CreateFontIndirectW(&request);
    HGDIOBJ old = SelectObject(surface.dc, font);
    SetBkMode(surface.dc, TRANSPARENT);
    TEXTMETRICW tm{};
    GetTextMetricsW(surface.dc, &tm);
    std::u16string text = widen("__ ");
    ASSERT_TRUE(TextOutW(surface.dc, 0, 0, text.c_str(), 3));
    SIZE size{};
    GetTextExtentPoint32W(surface.dc, text.c_str(), 3, &size);
    EXPECT_EQ(GetPixel(surface.dc, size.cx - 1, tm.tmAscent + 1), RGB(0, 0, 0)) << "the underline runs under the blank too";
    EXPECT_FALSE(TextOutW(surface.dc, 0, 0, nullptr, 3));
    EXPECT_FALSE(TextOutW(surface.dc, 0, 0, text.c_str(), -1));
    EXPECT_FALSE(TextOutW(nullptr, 0, 0, text.c_str(), 3));
    EXPECT_EQ(SetBkMode(surface.dc, 7), 0);
    SelectObject(surface.dc, old);
    DeleteObject(font);
}
