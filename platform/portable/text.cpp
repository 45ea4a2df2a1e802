// Text drawing of the portable platform (TextOutW), for screenshots of window surfaces: glyphs
// rendered by FreeType at the font's pixel size, placed by the same rounded advances that
// GetTextExtentExPointW measures, so drawn text is exactly as wide as measured.
// Differs from Windows in: under the test face only the background cell is drawn.
#include "platform/portable/gdi_records.h"

#include <ft2build.h>
#include FT_FREETYPE_H

static void blendPixel(PortableDc* dc, PortableGdiObject* to, long x, long y, COLORREF color, int coverage)
{
    if (x < 0 || y < 0 || x >= to->width || y >= to->height || coverage <= 0 || !gdiInClip(dc, x, y))
        return;
    COLORREF& pixel = to->pixels[static_cast<std::size_t>(y) * to->width + x];
    auto mix = [coverage](int under, int over) { return under + (over - under) * coverage / 255; };
    pixel = RGB(mix(GetRValue(pixel), GetRValue(color)), mix(GetGValue(pixel), GetGValue(color)),
                mix(GetBValue(pixel), GetBValue(color)));
}

static void drawGlyph(PortableDc* dc, PortableGdiObject* to, FT_Face face, WCHAR c, long x, long baseline)
{
    if (!face || FT_Load_Char(face, c, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0)
        return;
    const FT_Bitmap& glyph = face->glyph->bitmap;
    for (unsigned row = 0; row < glyph.rows; row++)
        for (unsigned col = 0; col < glyph.width; col++)
            blendPixel(dc, to, x + face->glyph->bitmap_left + static_cast<long>(col),
                       baseline - face->glyph->bitmap_top + static_cast<long>(row), dc->textColor,
                       glyph.buffer[row * glyph.pitch + col]);
}

BOOL TextOutW(HDC dc, int x, int y, LPCWSTR text, int count)
{
    if (!gdiLiveDc(dc) || count < 0 || (count > 0 && !text))
        return FALSE;
    PortableGdiObject* to = gdiTarget(dc);
    if (!to)
        return TRUE;
    HFONT font = dc->font ? dc->font : gdiStockFont(SYSTEM_FONT);
    TEXTMETRICW metrics;
    gdiMeasuredMetrics(font, &metrics);
    long width = 0;
    for (int i = 0; i < count; i++)
        width += gdiCharAdvance(font, text[i]);
    if (dc->backMode == OPAQUE)
        for (long row = y; row < y + metrics.tmHeight; row++)
            for (long col = x; col < x + width; col++)
                blendPixel(dc, to, col, row, dc->backColor, 255);
    FT_Face face = gdiSizedFace(font);
    long baseline = y + metrics.tmAscent;
    long pen = x;
    for (int i = 0; i < count; i++) {
        drawGlyph(dc, to, face, text[i], pen, baseline);
        pen += gdiCharAdvance(font, text[i]);
    }
    if (font->underline)
        for (long col = x; col < x + width; col++)
            blendPixel(dc, to, col, baseline + 1, dc->textColor, 255);
    return TRUE;
}
