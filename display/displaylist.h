// The display list: everything shown below the title strip, as logical lines with a kind, a row,
// an x and style bits. Layout breaks each visible line into pieces, one per screen line;
// rendering turns the pieces of the rows in view into child controls of the main window.
#pragma once
#include <cstdint>

#include "platform/winapi.h"

// Display kinds; the values are stored in lines and pieces.
enum DisplayKind : std::uint8_t {
    TextLine = 0,
    CheckBox = 1,
    PushButton = 2,
    MultiLineCheckBox = 3,
    EditBox = 4,
    DropList = 5,
    GroupCheckBox = 11,
    DropListMore = 12,
    RuleLine = 13,
    PageLink = 18,
};

// DisplayLine.flags bits.
constexpr std::uint8_t lineBold = 1;
constexpr std::uint8_t lineUnderline = 2;
constexpr std::uint8_t lineState = 4;      // checked, read-only or notifying, by kind
constexpr std::uint8_t lineOwnsText = 8;
constexpr std::uint8_t lineVisible = 16;

struct DisplayPiece {
    HWND control;          // the control made for this piece; nullptr while not rendered
    HWND control2;         // a DropList's drop button
    std::int16_t x;        // absolute x in host pixels
    std::int16_t width;
    std::int16_t row;      // rendered row index
    std::uint8_t kind;
    const char* start;     // [start, end) of the line's text; end nullptr = up to the NUL
    const char* end;
    std::uint8_t ownsText; // 1 when start is a private copy
    DisplayPiece* next;
};

struct DisplayOption {
    std::uint32_t tag, tag2;
    std::uint16_t elementId;
    std::uint8_t ownsText;
    const char* text;
    DisplayOption* next;
};

struct DisplayLine {
    std::uint32_t tag, tag2;
    std::int16_t x;        // relative to left; -1 = after the previous entry of the row
    std::int16_t contX;    // x of continuation lines; -1 = not given
    std::int16_t width;    // fixed width of every piece; -1 = measured
    std::int16_t row;      // logical row
    std::uint16_t id;
    std::int16_t group;
    const char* text;
    std::uint8_t kind;
    std::uint8_t flags;
    DisplayPiece* pieces;
    DisplayOption* options;
    DisplayLine* next;
};

struct DisplayList {
    HINSTANCE instance;
    std::uint16_t firstRow;
    std::uint16_t top;
    std::uint16_t bottom;
    std::int16_t left;
    std::int16_t right;
    std::uint16_t lineHeight;
    std::uint16_t gap;
    DisplayLine* head;
    DisplayLine* tail;
    std::int32_t rowCount;
    HWND host;
    HFONT boldFont, underlineFont, boldUnderlineFont;
    HWND boldMeasureWindow, normalMeasureWindow;
    HDC boldMeasureContext, normalMeasureContext;
};
