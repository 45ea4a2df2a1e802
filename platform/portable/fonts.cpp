// Fonts of the portable platform: a LOGFONTW request is mapped onto a DejaVu file at a whole
// pixel size (FONTS.md gives the rules) and measured with FreeType, one rounded advance per
// character and no kerning, so a browser drawing the same file at the same size never overflows.
// Differs from Windows in: lfWidth, lfEscapement and lfOrientation are kept but not applied; only
// the DejaVu Sans, Sans Mono and Serif families exist.
#include "platform/portable/gdi_records.h"
#include "platform/portable/internal.h"
#include "platform/portable/testing.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_TRUETYPE_TABLES_H

#include <cmath>
#include <cstring>
#include <string>

#ifndef ZURA_FONT_DIR
#define ZURA_FONT_DIR "/usr/share/fonts/truetype/dejavu"
#endif

struct PortableFaceFile {
    const char* family;
    const char* fileName;
};

// A font file once FreeType has been asked for it.
struct OpenedFile {
    FT_Face face = nullptr;
    bool tried = false;
    std::string path;
    // Advances of U+0000..U+00FF in font units (the same at every size): printable ASCII read when
    // the file is opened, the rest when first measured; -1 where FreeType gave none.
    FT_Fixed unscaled[256];
};

enum FamilyIndex { Sans = 0, Mono = 1, Serif = 2 };

// Four styles per family: regular, bold, italic, bold italic.
static PortableFaceFile faceFiles[] = {
    {"DejaVu Sans", "DejaVuSans.ttf"},
    {"DejaVu Sans", "DejaVuSans-Bold.ttf"},
    {"DejaVu Sans", "DejaVuSans-Oblique.ttf"},
    {"DejaVu Sans", "DejaVuSans-BoldOblique.ttf"},
    {"DejaVu Sans Mono", "DejaVuSansMono.ttf"},
    {"DejaVu Sans Mono", "DejaVuSansMono-Bold.ttf"},
    {"DejaVu Sans Mono", "DejaVuSansMono-Oblique.ttf"},
    {"DejaVu Sans Mono", "DejaVuSansMono-BoldOblique.ttf"},
    {"DejaVu Serif", "DejaVuSerif.ttf"},
    {"DejaVu Serif", "DejaVuSerif-Bold.ttf"},
    {"DejaVu Serif", "DejaVuSerif-Italic.ttf"},
    {"DejaVu Serif", "DejaVuSerif-BoldItalic.ttf"},
};
static const int faceFileCount = sizeof faceFiles / sizeof faceFiles[0];
static OpenedFile openedFiles[faceFileCount];

// Faces the program or Windows itself asks for, and the family that stands in for each.
static const struct {
    const char* face;
    FamilyIndex family;
} knownFaces[] = {
    {"Frutiger Linotype", Sans}, {"Tahoma", Sans},          {"System", Sans},
    {"MS Sans Serif", Sans},     {"MS Shell Dlg", Sans},    {"Arial", Sans},
    {"Verdana", Sans},           {"Segoe UI", Sans},        {"DejaVu Sans", Sans},
    {"Courier New", Mono},       {"Courier", Mono},         {"Lucida Console", Mono},
    {"Terminal", Mono},          {"DejaVu Sans Mono", Mono}, {"Times New Roman", Serif},
    {"Georgia", Serif},          {"DejaVu Serif", Serif},
};

// The size of a request with lfHeight 0, and of the system font.
static const int defaultPixelHeight = 11;
// Larger requests are clamped: no screen of 320 lines needs more.
static const int largestPixelHeight = 200;

// The test face's cell height (FONTS.md).
static const int testFaceHeight = 16;

static FT_Library library = nullptr;
static bool testFace = false;

void portableSetTestFace(bool on) { testFace = on; }
bool portableTestFace() { return testFace; }

static const FT_Fixed notRead = -2;

// A character's advance in font units, read from the metrics table without loading the glyph's
// outline (the same at every size).
static bool readAdvance(FT_Face face, WCHAR c, FT_Fixed* units)
{
    return FT_Get_Advance(face, FT_Get_Char_Index(face, c), FT_LOAD_NO_SCALE, units) == 0;
}

static OpenedFile& opened(const PortableFaceFile* file)
{
    OpenedFile& entry = openedFiles[file - faceFiles];
    if (!entry.tried) {
        entry.tried = true;
        entry.path = std::string(ZURA_FONT_DIR) + "/" + file->fileName;
        if (!library && FT_Init_FreeType(&library) != 0)
            library = nullptr;
        if (!library || FT_New_Face(library, entry.path.c_str(), 0, &entry.face) != 0)
            entry.face = nullptr;
        for (WCHAR c = 0; c < 256; c++) {
            bool ascii = c >= 0x20 && c < 0x7F;
            if (!entry.face || (ascii && !readAdvance(entry.face, c, &entry.unscaled[c])))
                entry.unscaled[c] = -1;
            else if (!ascii)
                entry.unscaled[c] = notRead;
        }
    }
    return entry;
}

static FT_Face openFace(const PortableFaceFile* file) { return opened(file).face; }

static bool sameFaceName(const WCHAR* request, const char* known)
{
    for (int i = 0; i < LF_FACESIZE; i++) {
        unsigned a = request[i], b = static_cast<unsigned char>(known[i]);
        if (a >= 'A' && a <= 'Z')
            a += 'a' - 'A';
        if (b >= 'A' && b <= 'Z')
            b += 'a' - 'A';
        if (a != b)
            return false;
        if (a == 0)
            return true;
    }
    return false;
}

static FamilyIndex familyFor(const LOGFONTW& request)
{
    for (const auto& known : knownFaces)
        if (sameFaceName(request.lfFaceName, known.face))
            return known.family;
    int family = request.lfPitchAndFamily & 0xF0;
    if (family == FF_ROMAN)
        return Serif;
    if (family == FF_MODERN || (request.lfPitchAndFamily & 3) == FIXED_PITCH)
        return Mono;
    return Sans;
}

static long roundScaled(long units, int pixelHeight, int unitsPerEm)
{
    return static_cast<long>(std::floor(static_cast<double>(units) * pixelHeight / unitsPerEm + 0.5));
}

// lfHeight > 0 asks for a cell height (ascent + descent, the OS/2 table's Windows metrics);
// lfHeight < 0 for a character (em) height; 0 for the default size.
static int pixelHeightFor(const LOGFONTW& request, FT_Face face)
{
    long height = request.lfHeight;
    int pixels = defaultPixelHeight;
    if (height < 0) {
        pixels = height < -largestPixelHeight ? largestPixelHeight : static_cast<int>(-height);
    } else if (height > 0) {
        const TT_OS2* os2 = face ? static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2)) : nullptr;
        long cell = os2 ? os2->usWinAscent + os2->usWinDescent : 0;
        if (cell > 0 && height <= largestPixelHeight * 2)
            pixels = static_cast<int>(std::floor(static_cast<double>(height) * face->units_per_EM / cell + 0.5));
        else
            pixels = static_cast<int>(height > largestPixelHeight ? largestPixelHeight : height);
    }
    if (pixels < 1)
        pixels = 1;
    return pixels > largestPixelHeight ? largestPixelHeight : pixels;
}

// Metrics as Windows reports a TrueType font's: ascent and descent from the OS/2 table's Windows
// metrics, each rounded at the pixel size; internal leading is what the cell adds to the em.
static void measureMetrics(PortableGdiObject* font, FT_Face face)
{
    TEXTMETRICW& tm = font->metrics;
    tm = TEXTMETRICW{};
    int ppem = font->pixelHeight;
    const TT_OS2* os2 = face ? static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2)) : nullptr;
    const TT_HoriHeader* hhea =
        face ? static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA)) : nullptr;
    if (face && os2) {
        int upem = face->units_per_EM;
        tm.tmAscent = roundScaled(os2->usWinAscent, ppem, upem);
        tm.tmDescent = roundScaled(os2->usWinDescent, ppem, upem);
        tm.tmAveCharWidth = roundScaled(os2->xAvgCharWidth, ppem, upem);
        tm.tmMaxCharWidth = roundScaled(face->max_advance_width, ppem, upem);
        if (hhea) {
            long gap = hhea->Line_Gap - ((os2->usWinAscent + os2->usWinDescent) - (hhea->Ascender - hhea->Descender));
            tm.tmExternalLeading = gap > 0 ? roundScaled(gap, ppem, upem) : 0;
        }
    } else {
        // No font file: proportions of DejaVu Sans, so layout still works.
        tm.tmAscent = (ppem * 93 + 50) / 100;
        tm.tmDescent = (ppem * 24 + 50) / 100;
        tm.tmAveCharWidth = (ppem * 55 + 50) / 100;
        tm.tmMaxCharWidth = ppem * 2;
    }
    tm.tmHeight = tm.tmAscent + tm.tmDescent;
    tm.tmInternalLeading = tm.tmHeight > ppem ? tm.tmHeight - ppem : 0;
    tm.tmWeight = font->bold ? FW_BOLD : FW_NORMAL;
    tm.tmDigitizedAspectX = 96;
    tm.tmDigitizedAspectY = 96;
    tm.tmFirstChar = 0x20;
    tm.tmLastChar = 0xFFFC;
    tm.tmDefaultChar = 0x1F;
    tm.tmBreakChar = 0x20;
    tm.tmItalic = font->italic ? 1 : 0;
    tm.tmUnderlined = font->underline ? 1 : 0;
    tm.tmStruckOut = font->request.lfStrikeOut ? 1 : 0;
    bool mono = face && FT_IS_FIXED_WIDTH(face);
    int family = font->file && std::strcmp(font->file->family, "DejaVu Serif") == 0 ? FF_ROMAN
                 : mono                                                          ? FF_MODERN
                                                                                 : FF_SWISS;
    tm.tmPitchAndFamily = static_cast<BYTE>(family | TMPF_TRUETYPE | TMPF_VECTOR | (mono ? 0 : TMPF_FIXED_PITCH));
    tm.tmCharSet = font->request.lfCharSet;
}

static void realizeFont(PortableGdiObject* font, const LOGFONTW& request)
{
    font->request = request;
    font->request.lfFaceName[LF_FACESIZE - 1] = 0;
    font->bold = request.lfWeight >= FW_SEMIBOLD;
    font->italic = request.lfItalic != 0;
    font->underline = request.lfUnderline != 0;
    int style = (font->bold ? 1 : 0) + (font->italic ? 2 : 0);
    font->file = &faceFiles[familyFor(font->request) * 4 + style];
    FT_Face face = openFace(font->file);
    font->pixelHeight = pixelHeightFor(font->request, face);
    for (short& advance : font->advances)
        advance = -1;
    font->xScale = 0;
    measureMetrics(font, face);
}

HFONT CreateFontIndirectW(const LOGFONTW* request)
{
    if (!request)
        return nullptr;
    PortableGdiObject* font = gdiNewObject(GdiKind::Font);
    realizeFont(font, *request);
    return font;
}

static void setFaceName(LOGFONTW* font, const char* name)
{
    for (int i = 0; i < LF_FACESIZE - 1 && name[i]; i++)
        font->lfFaceName[i] = static_cast<unsigned char>(name[i]);
}

HFONT gdiStockFont(int which)
{
    static PortableGdiObject* systemFont = nullptr;
    static PortableGdiObject* fixedFont = nullptr;
    bool fixed = which == OEM_FIXED_FONT || which == ANSI_FIXED_FONT || which == SYSTEM_FIXED_FONT;
    PortableGdiObject*& slot = fixed ? fixedFont : systemFont;
    if (!slot) {
        LOGFONTW request{};
        request.lfWeight = FW_NORMAL;
        request.lfPitchAndFamily = fixed ? (FIXED_PITCH | FF_MODERN) : (VARIABLE_PITCH | FF_SWISS);
        setFaceName(&request, fixed ? "Courier New" : "System");
        slot = gdiNewObject(GdiKind::Font);
        slot->stock = true;
        realizeFont(slot, request);
    }
    return slot;
}

// The font's x scale, asked of FreeType once per font rather than once per character.
static bool knownScale(PortableGdiObject* font, FT_Face face)
{
    if (font->xScale == 0) {
        if (FT_Set_Pixel_Sizes(face, 0, font->pixelHeight) != 0)
            return false;
        font->xScale = face->size->metrics.x_scale;
    }
    return true;
}

// A character's advance in font units, as its file has it.
static bool unscaledAdvance(OpenedFile& file, WCHAR c, FT_Fixed* units)
{
    if (c >= 256)
        return readAdvance(file.face, c, units);
    if (file.unscaled[c] == notRead && !readAdvance(file.face, c, &file.unscaled[c]))
        file.unscaled[c] = -1;
    *units = file.unscaled[c];
    return *units >= 0;
}

int gdiCharAdvance(HFONT font, WCHAR c)
{
    if (testFace)
        return font->bold ? 7 : 6;
    bool cached = c < 256;
    if (cached && font->advances[c] >= 0)
        return font->advances[c];
    OpenedFile& file = opened(font->file);
    int advance = font->metrics.tmAveCharWidth;
    FT_Fixed units = 0;
    // The advance scaled into 1/64 pixels as an unhinted glyph load scales it (FT_MulFix by the
    // size's x scale), rounded to whole pixels (651 units at 11 px is 3.5 px, so 4).
    if (file.face && knownScale(font, file.face) && unscaledAdvance(file, c, &units))
        advance = static_cast<int>((FT_MulFix(units, font->xScale) + 32) >> 6);
    if (cached)
        font->advances[c] = static_cast<short>(advance);
    return advance;
}

FT_FaceRec_* gdiSizedFace(HFONT font)
{
    if (testFace)
        return nullptr;
    FT_Face face = openFace(font->file);
    if (!face || FT_Set_Pixel_Sizes(face, 0, font->pixelHeight) != 0)
        return nullptr;
    return face;
}

void gdiMeasuredMetrics(HFONT font, TEXTMETRICW* metrics)
{
    *metrics = font->metrics;
    if (!testFace)
        return;
    metrics->tmHeight = testFaceHeight;
    metrics->tmAscent = 13;
    metrics->tmDescent = 3;
    metrics->tmInternalLeading = 0;
    metrics->tmExternalLeading = 0;
    metrics->tmAveCharWidth = font->bold ? 7 : 6;
    metrics->tmMaxCharWidth = metrics->tmAveCharWidth;
}

bool portableFontInfo(HFONT font, PortableFontInfo* info)
{
    if (!info || !gdiLiveObject(font) || font->kind != GdiKind::Font)
        return false;
    info->serial = font->version;
    info->face = font->file->family;
    info->file = opened(font->file).path.c_str();
    info->pixelHeight = font->pixelHeight;
    info->bold = font->bold;
    info->italic = font->italic;
    info->underline = font->underline;
    return true;
}

static HFONT dcFont(HDC dc)
{
    if (!gdiLiveDc(dc))
        return nullptr;
    return dc->font ? dc->font : gdiStockFont(SYSTEM_FONT);
}

BOOL GetTextMetricsW(HDC dc, LPTEXTMETRICW metrics)
{
    HFONT font = dcFont(dc);
    if (!font || !metrics)
        return FALSE;
    gdiMeasuredMetrics(font, metrics);
    return TRUE;
}

// Extents are the sum of per-character advances: no kerning, as Windows measures by default.
BOOL GetTextExtentExPointW(HDC dc, LPCWSTR text, int count, int maxExtent, INT* fit, INT* partialExtents,
                           LPSIZE size)
{
    HFONT font = dcFont(dc);
    if (!font || !size || count < 0 || (count > 0 && !text))
        return FALSE;
    long extent = 0;
    int fitted = 0;
    for (int i = 0; i < count; i++) {
        extent += gdiCharAdvance(font, text[i]);
        if (partialExtents)
            partialExtents[i] = static_cast<INT>(extent);
        if (extent <= maxExtent && fitted == i)
            fitted = i + 1;
    }
    if (fit)
        *fit = fitted;
    size->cx = extent;
    size->cy = testFace ? testFaceHeight : font->metrics.tmHeight;
    return TRUE;
}

BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, LPSIZE size)
{
    return GetTextExtentExPointW(dc, text, count, 0, nullptr, nullptr, size);
}
