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
    std::uint32_t serial;  // control's serial in the list's made controls; 0 when not there
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

// The advances of the 256 characters in one measuring context with one font selected, each
// measured the first time it is needed, which the line breaker adds up (linebreak.cpp keeps
// with each what the character does to a line).
struct AdvanceTable {
    std::uint8_t inUse;
    HDC context;
    HGDIOBJ font;
    std::int32_t entries[256];
};
// Bold, normal, and the underline font the normal context takes for underlined lines.
constexpr int advanceTableCount = 3;

// A control a render made, offered to the next render: a piece that would make the same
// control again (class, style, place, size, id, font, and as it stands text and check state)
// takes it over. The serial is the order of making: a lower serial lies above a higher one.
struct MadeControl {
    HWND control;
    const char* className;
    DWORD style;
    std::int16_t x, y, width, height;
    int id;
    HFONT font;
    std::uint32_t serial;
};
constexpr int madeControlCapacity = 48;

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
    // Filled while measuring, also by the operations that take the list as const.
    mutable AdvanceTable advanceTables[advanceTableCount];
    mutable std::uint8_t nextAdvanceTable;   // the table taken next for a context or font not met yet
    MadeControl made[madeControlCapacity];   // live controls, oldest first; see render.cpp
    std::uint8_t madeCount;
    std::uint8_t madeKept;   // the made controls belong to no piece: kept for the next render
    std::uint32_t madeSerial;
};

struct AppState;

// Fills the list's fields with their start values (view 30..294 by 16-pixel rows, text up to 215,
// gap 7) and takes the instance, host window, fonts and measuring contexts from the state.
// Called once at start-up, after the fonts and the main window exist.
void initDisplayList(AppState* state);

// Appends a line at the tail. row is the caller's row counter, read and never advanced. Only the
// lowest bit of underline, bold, state and copy counts; a DropList never keeps the state bit.
// A row below the tail's row is not appended at the tail but inserted after the last line whose
// row is not greater, so the rows along the list never decrease and the line shows on the row the
// caller gave. nullptr, and nothing added, when memory runs out.
DisplayLine* addDisplayLine(DisplayList* list, std::uint8_t kind, const char* text,
                            std::uint32_t tag, std::uint32_t tag2, const std::int16_t& row,
                            std::uint16_t id, int underline, int bold, int state, int copy,
                            std::int16_t group, std::int16_t x, std::int16_t contX,
                            std::int16_t width);

// Appends a choice to a DropList line. With copy the option keeps a copy of the text, or no
// text when the copy cannot be made. nullptr when the option cannot be allocated.
DisplayOption* addDisplayOption(DisplayLine* line, const char* text, std::uint32_t tag,
                                std::uint32_t tag2, std::uint16_t elementId, int copy);

// The option with the given index, counting from 0; nullptr when there is none.
const DisplayOption* displayOptionAt(const DisplayLine* line, int index);

// Frees every line's pieces and their private texts; the lines stay.
void freeDisplayPieces(DisplayList* list);
void freeLinePieces(DisplayLine* line);

// Destroys the controls first when asked, then frees pieces, lines, texts and options. firstRow
// and rowCount are left as they were.
void clearDisplayList(DisplayList* list, bool destroyControls);

// The same for a list about to be built again and rendered: the controls a render may take over
// stay alive, belonging to no piece, for that render (see keepControlsForNextRender).
void clearDisplayListForNextRender(DisplayList* list);

// The first line, visible or not, with a piece whose control or drop button is the window.
DisplayLine* findDisplayLineByControl(const DisplayList* list, HWND window);

// Replaces a line's text (a copy when copy is set, else the pointer is kept) and points its first
// piece at the new text. Pieces that pointed into a freed old text are left without text.
void setDisplayLineText(DisplayLine* line, const char* text, int copy);

void showAllDisplayLines(DisplayList* list);
void hideDisplayLinesById(DisplayList* list, std::uint16_t id);

// Brings every check box control in view to its line's state bit; true when a control changed.
bool syncCheckStates(DisplayList* list);
