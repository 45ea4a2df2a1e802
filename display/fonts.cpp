// Fonts, measuring contexts and text measurement. Bold text is measured with the bold font
// selected, underlined plain text with the underline font it is shown in (layout selects it
// for such a line), all other text with the system font the controls default to.
#include "display/fonts.h"

#include <cstring>

#include "dbfile/text.h"
#include "display/layout.h"
#include "display/widetext.h"
#include "shell/state.h"

int measureText(HDC context, const char* text, int count)
{
    if (!text || count <= 0)
        return 0;
    int length = 0;
    while (length < count && text[length] != '\0')
        ++length;
    WideText wide;
    const WCHAR* units = widenRange(&wide, text, text + length);
    SIZE extent = {0, 0};
    if (!units || !GetTextExtentExPointW(context, units, length, 0, nullptr, nullptr, &extent))
        extent.cx = 0;
    releaseWide(&wide);
    return static_cast<int>(extent.cx);
}

int measureText(HDC context, char character)
{
    WCHAR unit = static_cast<unsigned char>(character);
    SIZE extent = {0, 0};
    if (!GetTextExtentExPointW(context, &unit, 1, 0, nullptr, nullptr, &extent))
        return 0;
    return static_cast<int>(extent.cx);
}

static HFONT makeFont(const char* face, LONG height, LONG width, LONG weight, BYTE underline,
                      BYTE charSet, BYTE outPrecision, BYTE quality, BYTE pitchAndFamily)
{
    LOGFONTW font;
    std::memset(&font, 0, sizeof font);
    font.lfHeight = height;
    font.lfWidth = width;
    font.lfWeight = weight;
    font.lfUnderline = underline;
    font.lfCharSet = charSet;
    font.lfOutPrecision = outPrecision;
    font.lfQuality = quality;
    font.lfPitchAndFamily = pitchAndFamily;
    widenTextBounded(font.lfFaceName, LF_FACESIZE, face);
    return CreateFontIndirectW(&font);
}

// A hidden "STATIC" window whose context measures text. It is made without a parent, before the
// main window exists; where the platform refuses a parentless child, it is made as a hidden
// pop-up instead, which measures the same.
static HWND makeMeasureWindow(const AppState* state)
{
    WCHAR className[8];
    WCHAR text[8];
    widenTextBounded(className, 8, "STATIC");
    widenTextBounded(text, 8, "NULL");
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(static_cast<UINT_PTR>(state->unnamed));
    HWND window = CreateWindowExW(0, className, text, WS_CHILD | WS_SYSMENU, 0, 0, 250, 30,
                                  nullptr, nullptr, instance, nullptr);
    if (!window)
        window = CreateWindowExW(0, className, text, WS_POPUP | WS_SYSMENU, 0, 0, 250, 30,
                                 nullptr, nullptr, instance, nullptr);
    return window;
}

void fetchMeasureContexts(AppState* state)
{
    state->boldMeasureContext = state->boldMeasureWindow ? GetDC(state->boldMeasureWindow) : nullptr;
    if (state->boldMeasureContext && state->boldFont)
        SelectObject(state->boldMeasureContext, state->boldFont);
    state->normalMeasureContext =
        state->normalMeasureWindow ? GetDC(state->normalMeasureWindow) : nullptr;
}

void createDisplayFonts(AppState* state)
{
    state->boldFont = makeFont("Frutiger Linotype", 15, 7, 700, 0, 0, 0, 0, 0x30);
    state->boldUnderlineFont = makeFont("Frutiger Linotype", 15, 7, 700, 1, 0, 0, 0, 0x30);
    state->boldMeasureWindow = makeMeasureWindow(state);
    state->normalMeasureWindow = makeMeasureWindow(state);
    if (state->boldMeasureWindow && state->boldFont)
        SendMessageW(state->boldMeasureWindow, WM_SETFONT,
                     reinterpret_cast<WPARAM>(state->boldFont), 0);
    fetchMeasureContexts(state);
    TEXTMETRICW metrics;
    std::memset(&metrics, 0, sizeof metrics);
    if (state->normalMeasureContext)
        GetTextMetricsW(state->normalMeasureContext, &metrics);
    state->underlineFont = makeFont("Tahoma", 15, 0, metrics.tmWeight, 1, metrics.tmCharSet, 6, 1,
                                    metrics.tmPitchAndFamily);
}

HFONT controlFont(const DisplayList* list, const DisplayLine* line)
{
    bool bold = (line->flags & lineBold) != 0;
    bool underline = (line->flags & lineUnderline) != 0;
    if (bold && underline)
        return list->boldUnderlineFont;
    if (bold)
        return list->boldFont;
    if (underline)
        return list->underlineFont;
    return nullptr;
}
