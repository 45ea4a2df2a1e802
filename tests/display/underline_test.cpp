// Underlined text is laid out in the font it is shown in: on the real DejaVu faces the underline
// font is larger than the system font, and a page link measured in the system font was cut off.
#include <gtest/gtest.h>

#include "display/displaylist.h"
#include "display/fonts.h"
#include "display/layout.h"
#include "shell/state.h"

namespace {

int widthIn(HDC context, HFONT font, const char* text)
{
    HGDIOBJ previous = SelectObject(context, font);
    int width = measureText(context, text, 1000);
    SelectObject(context, previous);
    return width;
}

TEST(UnderlinedText, IsMeasuredInTheUnderlineFontAndTheContextKeepsItsFont)
{
    AppState state{};
    createDisplayFonts(&state);
    state.mainWindow = CreateWindowExW(0, u"STATIC", u"host", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr,
                                       nullptr, nullptr);
    initDisplayList(&state);
    DisplayList* list = &state.displayList;
    const char* caption = "Sedation scale";
    int plain = measureText(list->normalMeasureContext, caption, 1000);
    int underlined = widthIn(list->normalMeasureContext, list->underlineFont, caption);
    ASSERT_GT(underlined, plain) << "the real faces differ; otherwise this case shows nothing";

    std::int16_t row = 0;
    DisplayLine* link = addDisplayLine(list, PageLink, caption, 0, 0, row, 9, 1, 0, 1, 0, 0, 8, 8, -1);
    row = 1;
    DisplayLine* text = addDisplayLine(list, TextLine, caption, 0, 0, row, 0, 0, 0, 0, 0, 0, 8, 8, -1);
    ASSERT_TRUE(link && text);
    layoutDisplayList(list);
    ASSERT_TRUE(link->pieces && text->pieces);
    EXPECT_EQ(link->pieces->width - text->pieces->width, underlined - plain)
        << "the link's control is as wide as its underlined caption";
    EXPECT_EQ(measureText(list->normalMeasureContext, caption, 1000), plain)
        << "the normal context measures in the system font again";

    clearDisplayList(list, true);
    DestroyWindow(state.mainWindow);
    DestroyWindow(state.boldMeasureWindow);
    DestroyWindow(state.normalMeasureWindow);
}

} // namespace
