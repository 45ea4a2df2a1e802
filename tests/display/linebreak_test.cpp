// Line breaking on the fixed-width test face: 6 pixels a character, 7 in bold.
#include "support.h"

#include <cstring>

namespace {

struct BreakCase {
    const char* name;
    const char* text;
    int maxWidth;
    bool bold;
    bool force;
    bool fitsAll;
    int lineLength;
    int lineWidth;
    int restAt;   // offset of rest in text; -1 = none
};

const BreakCase breakCases[] = {
    //  name                              text               max  bold   force  fits   len wid rest
    {"fits exactly",                      "abcdefghij",       60, false, false, true,  10, 60, -1},
    {"fits with room",                    "abc",              60, false, false, true,   3, 18, -1},
    {"empty text",                        "",                 60, false, false, true,   0,  0, -1},
    {"one over",                          "abcdefghijk",      60, false, true,  false, 10, 60, 10},
    {"space break keeps the space width", "abcd efghij",      60, false, false, false,  4, 30,  5},
    {"hyphen begins the next line",       "abc-defghijk",     60, false, false, false,  3, 24,  3},
    {"slash begins the next line",        "and/orwordsxx",    60, false, false, false,  3, 24,  3},
    {"backslash begins the next line",    "ab\\cdefghijk",    60, false, false, false,  2, 18,  2},
    {"last break point wins",             "ab cd efghijk",    60, false, false, false,  5, 36,  6},
    {"newline ends a fitting line",       "ab\ncd",           60, false, false, false,  2, 18,  3},
    {"newline then space skips both",     "ab\n cd",          60, false, false, false,  2, 18,  4},
    {"leading newline: empty line",       "\nab",             60, false, false, false,  0,  0,  1},
    {"overflowing space is the break",    "abcdefghij klm",   60, false, false, false, 10, 66, 11},
    {"unbreakable word moves on",         "abcdefghijklmno",  60, false, false, false,  0,  0,  0},
    {"unbreakable word cut when forced",  "abcdefghijklmno",  60, false, true,  false, 10, 60, 10},
    {"leading hyphen only, not forced",   "-abcdefghijkl",    60, false, false, false,  0,  0,  0},
    {"leading hyphen only, forced",       "-abcdefghijkl",    60, false, true,  false, 10, 60, 10},
    {"bold fits exactly",                 "abcdefgh",         56, true,  false, true,   8, 56, -1},
    {"bold one over",                     "abcd efgh",        56, true,  false, false,  4, 35,  5},
    {"room narrower than a character",    "abc",               3, false, true,  false,  1,  6,  1},
    {"negative room, forced",             "abc",              -5, false, true,  false,  1,  6,  1},
    {"negative room, not forced",         "abc",              -5, false, false, false,  0,  0,  0},
};

} // namespace

TEST_F(DisplayTest, BreakLineCases)
{
    for (const BreakCase& c : breakCases) {
        LineBreak got = breakLine(list, c.text, static_cast<std::int16_t>(c.maxWidth), c.bold,
                                  c.force);
        EXPECT_EQ(got.fitsAll, c.fitsAll) << c.name;
        EXPECT_EQ(got.lineLength, c.lineLength) << c.name;
        EXPECT_EQ(got.lineWidth, c.lineWidth) << c.name;
        int restAt = got.rest ? static_cast<int>(got.rest - c.text) : -1;
        EXPECT_EQ(restAt, c.restAt) << c.name;
    }
}

TEST_F(DisplayTest, BreakLineWithoutTextFitsEmpty)
{
    LineBreak got = breakLine(list, nullptr, 60, false, true);
    EXPECT_TRUE(got.fitsAll);
    EXPECT_EQ(got.lineLength, 0);
    EXPECT_EQ(got.rest, nullptr);
}

TEST_F(DisplayTest, ForcedBreaksAlwaysMoveThroughTheText)
{
    // Whatever the room, repeated forced breaks reach the end of the text.
    const char* text = "a-b c\\d/e\nf  g";
    for (int width = -10; width <= 40; ++width) {
        const char* at = text;
        int steps = 0;
        while (at && *at && steps < 100) {
            LineBreak got = breakLine(list, at, static_cast<std::int16_t>(width), false, true);
            ASSERT_TRUE(got.fitsAll || got.rest > at) << "width " << width << " at " << at;
            at = got.rest;
            ++steps;
        }
        EXPECT_LT(steps, 100) << "width " << width;
    }
}

TEST_F(DisplayTest, MeasureTextCountsCharacters)
{
    EXPECT_EQ(measureText(list->normalMeasureContext, "abcd", 4), 24);
    EXPECT_EQ(measureText(list->normalMeasureContext, "abcd", 2), 12);
    EXPECT_EQ(measureText(list->normalMeasureContext, "ab", 10), 12);   // stops at the NUL
    EXPECT_EQ(measureText(list->boldMeasureContext, "abcd", 4), 28);
    EXPECT_EQ(measureText(list->normalMeasureContext, nullptr, 4), 0);
    EXPECT_EQ(measureText(list->normalMeasureContext, 'x'), 6);
    EXPECT_EQ(measureText(list->boldMeasureContext, '\xe9'), 7);
    std::string longText(1000, 'm');   // longer than the widening buffer on the stack
    EXPECT_EQ(measureText(list->normalMeasureContext, longText.c_str(), 1000), 6000);
}

// The line breaker keeps the advances of each font it measures in; a font selected into a
// measuring context later (as layout does for underlined lines) must be measured as itself.
TEST_F(DisplayTest, BreakLineMeasuresInTheFontNowSelected)
{
    HDC normal = list->normalMeasureContext;
    HGDIOBJ original = GetCurrentObject(normal, OBJ_FONT);
    const struct {
        const char* name;
        HGDIOBJ font;
        int width;   // of "abcdefgh": 6 a character, 7 in a bold font
    } steps[] = {
        {"its own font", original, 48},          {"bold font selected", list->boldFont, 56},
        {"own font again", original, 48},        {"bold underline", list->boldUnderlineFont, 56},
        {"underline font", list->underlineFont, 48}, {"own font after four others", original, 48},
        {"bold font after the table was reused", list->boldFont, 56},
    };
    for (const auto& step : steps) {
        SelectObject(normal, step.font);
        EXPECT_EQ(breakLine(list, "abcdefgh", 200, false, false).lineWidth, step.width) << step.name;
    }
    SelectObject(normal, original);
}

// On the real fonts every character is summed at the width it measures alone.
TEST(BreakLineRealFonts, EveryCharacterAddsItsOwnWidth)
{
    AppState state{};
    createDisplayFonts(&state);
    initDisplayList(&state);
    const DisplayList* list = &state.displayList;
    for (bool bold : {false, true})
        for (int c = 1; c < 256; ++c) {
            if (c == '\n' || c == ' ' || c == '-' || c == '/' || c == '\\')
                continue;
            char text[4] = {char(c), char(c), char(c), 0};
            HDC context = bold ? list->boldMeasureContext : list->normalMeasureContext;
            LineBreak got = breakLine(list, text, 1000, bold, false);
            EXPECT_EQ(got.lineWidth, 3 * measureText(context, char(c))) << "character " << c << (bold ? " bold" : "");
        }
    DestroyWindow(state.boldMeasureWindow);
    DestroyWindow(state.normalMeasureWindow);
}
