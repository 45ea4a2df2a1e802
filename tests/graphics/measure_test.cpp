// Text measurement and metrics: the fixed-width test face and the DejaVu faces under FreeType.
#include "helpers.h"
#include "platform/portable/internal.h"

#include <gtest/gtest.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstring>
#include <string>

namespace {

HFONT makeFont(const char* face, LONG height, LONG width, LONG weight, bool underline = false)
{
    LOGFONTW request{};
    request.lfHeight = height;
    request.lfWidth = width;
    request.lfWeight = weight;
    request.lfUnderline = underline;
    request.lfPitchAndFamily = 0x30;
    for (int i = 0; face[i] && i < LF_FACESIZE - 1; i++)
        request.lfFaceName[i] = static_cast<unsigned char>(face[i]);
    return CreateFontIndirectW(&request);
}

LONG extent(HDC dc, const char* text)
{
    std::u16string wide = widen(text);
    SIZE size{};
    EXPECT_TRUE(GetTextExtentExPointW(dc, wide.c_str(), static_cast<int>(wide.size()), 0, nullptr, nullptr, &size));
    return size.cx;
}

}  // namespace

TEST(TestFace, MeasuresEveryCharacterAtFixedWidths)
{
    TestFaceOn on;
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT bold = makeFont("Frutiger Linotype", 15, 7, 700);
    HFONT semibold = makeFont("Tahoma", 15, 0, 600);
    HFONT light = makeFont("Tahoma", 15, 0, 599);
    static const struct {
        const char* name;
        HFONT font;  // nullptr: the DC's system font
        const char* text;
        LONG width;
    } cases[] = {
        {"system font", nullptr, "Hello, World", 72},
        {"empty text", nullptr, "", 0},
        {"high bytes", nullptr, "\x01\x7f\x80\xe9\xff", 30},
        {"bold 700", bold, "Next", 28},
        {"semibold 600 counts as bold", semibold, "abc", 21},
        {"599 is not bold", light, "abc", 18},
    };
    for (const auto& c : cases) {
        if (c.font)
            SelectObject(dc, c.font);
        else
            SelectObject(dc, GetStockObject(SYSTEM_FONT));
        EXPECT_EQ(extent(dc, c.text), c.width) << c.name;
        TEXTMETRICW tm{};
        ASSERT_TRUE(GetTextMetricsW(dc, &tm)) << c.name;
        EXPECT_EQ(tm.tmHeight, 16) << c.name;
        EXPECT_EQ(tm.tmAscent, 13) << c.name;
        EXPECT_EQ(tm.tmDescent, 3) << c.name;
        EXPECT_EQ(tm.tmAveCharWidth, c.font == bold || c.font == semibold ? 7 : 6) << c.name;
    }
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    DeleteDC(dc);
    DeleteObject(bold);
    DeleteObject(semibold);
    DeleteObject(light);
}

TEST(TestFace, FitCountAndPartialExtents)
{
    TestFaceOn on;
    HDC dc = CreateCompatibleDC(nullptr);
    std::u16string text = widen("abcdef");
    INT fit = -1;
    INT partial[6] = {};
    SIZE size{};
    ASSERT_TRUE(GetTextExtentExPointW(dc, text.c_str(), 6, 20, &fit, partial, &size));
    EXPECT_EQ(fit, 3);  // 18 fits in 20, 24 does not
    EXPECT_EQ(size.cx, 36);
    EXPECT_EQ(size.cy, 16);
    for (int i = 0; i < 6; i++)
        EXPECT_EQ(partial[i], 6 * (i + 1)) << "character " << i;
    ASSERT_TRUE(GetTextExtentExPointW(dc, text.c_str(), 6, 36, &fit, nullptr, &size));
    EXPECT_EQ(fit, 6);
    DeleteDC(dc);
}

TEST(Measurement, RefusesBadArguments)
{
    HDC dc = CreateCompatibleDC(nullptr);
    SIZE size{};
    std::u16string text = widen("abc");
    EXPECT_FALSE(GetTextExtentExPointW(nullptr, text.c_str(), 3, 0, nullptr, nullptr, &size));
    EXPECT_FALSE(GetTextExtentExPointW(dc, text.c_str(), -1, 0, nullptr, nullptr, &size));
    EXPECT_FALSE(GetTextExtentExPointW(dc, nullptr, 3, 0, nullptr, nullptr, &size));
    EXPECT_FALSE(GetTextExtentExPointW(dc, text.c_str(), 3, 0, nullptr, nullptr, nullptr));
    TEXTMETRICW tm;
    EXPECT_FALSE(GetTextMetricsW(dc, nullptr));
    DeleteDC(dc);
    EXPECT_FALSE(GetTextMetricsW(dc, &tm)) << "a deleted DC is refused";
    EXPECT_EQ(CreateFontIndirectW(nullptr), nullptr);
}

TEST(DejaVu, RoundedAdvancesAsTheBrowserFileGives)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT sans11 = makeFont("Tahoma", -11, 0, 400);
    HFONT bold13 = makeFont("Frutiger Linotype", -13, 0, 700);
    HFONT boldCell15 = makeFont("Frutiger Linotype", 15, 7, 700);
    static const struct {
        const char* name;
        int which;  // 0 sans 11 px, 1 bold 13 px, 2 bold cell 15, 3 system font
        const char* text;
        LONG width;
    } cases[] = {
        {"Hello, World at 11 px", 0, "Hello, World", 69},
        {"comma: 3.5 px rounds up", 0, ",", 4},
        {"single H", 0, "H", 8},
        {"Hello, World bold at 13 px", 1, "Hello, World", 89},
        {"cell height 15 is 13 px", 2, "Hello, World", 89},
        {"system font is DejaVu Sans 11 px", 3, "Hello, World", 69},
    };
    HFONT fonts[] = {sans11, bold13, boldCell15, static_cast<HFONT>(GetStockObject(SYSTEM_FONT))};
    for (const auto& c : cases) {
        SelectObject(dc, fonts[c.which]);
        EXPECT_EQ(extent(dc, c.text), c.width) << c.name;
    }
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    DeleteDC(dc);
    for (HFONT font : {sans11, bold13, boldCell15})
        DeleteObject(font);
}

// Fonts of one file at different sizes measure each character as FreeType itself loads it
// unhinted at that size, whichever font measured the character first.
TEST(DejaVu, EveryLatin1CharacterAsFreeTypeLoadsItAtEachSize)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT fonts[] = {makeFont("Tahoma", -11, 0, 400), makeFont("Tahoma", -13, 0, 400),
                     makeFont("Courier New", -12, 0, 400)};
    FT_Library library;
    ASSERT_EQ(FT_Init_FreeType(&library), 0);
    FT_Face faces[3] = {};
    for (int f = 0; f < 3; f++) {
        PortableFontInfo info;
        ASSERT_TRUE(portableFontInfo(fonts[f], &info));
        ASSERT_EQ(FT_New_Face(library, info.file, 0, &faces[f]), 0) << info.file;
        ASSERT_EQ(FT_Set_Pixel_Sizes(faces[f], 0, info.pixelHeight), 0);
    }
    std::u16string characters;
    for (char16_t c = 0xFF; c > 0; c--)   // from the top, so Latin-1 is read before ASCII is met
        characters += c;
    characters += u"\u2022\u20AC";
    for (char16_t c : characters)
        for (int f = 0; f < 3; f++) {
            SelectObject(dc, fonts[f]);
            SIZE size{};
            ASSERT_TRUE(GetTextExtentExPointW(dc, &c, 1, 0, nullptr, nullptr, &size));
            ASSERT_EQ(FT_Load_Char(faces[f], c, FT_LOAD_NO_HINTING), 0);
            EXPECT_EQ(size.cx, (faces[f]->glyph->advance.x + 32) >> 6) << "U+" << std::hex << int(c) << " font " << f;
        }
    for (FT_Face face : faces)
        FT_Done_Face(face);
    FT_Done_FreeType(library);
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    DeleteDC(dc);
    for (HFONT font : fonts)
        DeleteObject(font);
}

TEST(DejaVu, FaceAndSizeMapping)
{
    static const struct {
        const char* face;
        LONG height;
        LONG weight;
        bool underline;
        const char* family;
        const char* file;
        int pixels;
        LONG tmHeight;
    } cases[] = {
        {"Frutiger Linotype", 15, 700, false, "DejaVu Sans", "DejaVuSans-Bold.ttf", 13, 15},
        {"Frutiger Linotype", 15, 700, true, "DejaVu Sans", "DejaVuSans-Bold.ttf", 13, 15},
        {"Tahoma", 15, 400, true, "DejaVu Sans", "DejaVuSans.ttf", 13, 15},
        {"System", 0, 400, false, "DejaVu Sans", "DejaVuSans.ttf", 11, 13},
        {"Courier New", -12, 400, false, "DejaVu Sans Mono", "DejaVuSansMono.ttf", 12, 14},
        {"Times New Roman", -12, 700, false, "DejaVu Serif", "DejaVuSerif-Bold.ttf", 12, 14},
        {"No Such Face", -1000000, 400, false, "DejaVu Sans Mono", "DejaVuSansMono.ttf", 200, 233},
    };
    for (const auto& c : cases) {
        HFONT font = makeFont(c.face, c.height, 0, c.weight, c.underline);
        PortableFontInfo info{};
        ASSERT_TRUE(portableFontInfo(font, &info)) << c.face;
        EXPECT_STREQ(info.face, c.family) << c.face;
        std::string file = info.file;
        EXPECT_EQ(file.substr(file.rfind('/') + 1), c.file) << c.face;
        EXPECT_EQ(info.pixelHeight, c.pixels) << c.face;
        EXPECT_EQ(info.bold, c.weight >= 600) << c.face;
        EXPECT_EQ(info.underline, c.underline) << c.face;
        HDC dc = CreateCompatibleDC(nullptr);
        SelectObject(dc, font);
        TEXTMETRICW tm{};
        ASSERT_TRUE(GetTextMetricsW(dc, &tm));
        EXPECT_EQ(tm.tmHeight, c.tmHeight) << c.face;
        EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight) << c.face;
        EXPECT_EQ(tm.tmWeight, c.weight >= 600 ? 700 : 400) << c.face;
        EXPECT_EQ(tm.tmUnderlined, c.underline ? 1 : 0) << c.face;
        DeleteDC(dc);
        DeleteObject(font);
    }
    EXPECT_FALSE(portableFontInfo(nullptr, nullptr));
}
