// Line breaking and layout of the display list, and the arithmetic of rows in view and scrolling.
// Widths are sums of single-character widths from the measuring contexts (no kerning), so what
// is measured here is never wider than what a control draws.
#pragma once
#include <cstdint>

#include "display/displaylist.h"

// Width in pixels of the first count characters of text, from the platform's text extent in the
// context; 0 for no text, no characters or a failed measurement.
int measureText(HDC context, const char* text, int count);
// The one-character form.
int measureText(HDC context, char character);

struct LineBreak {
    const char* rest;     // where the next screen line starts; nullptr when everything fitted
    bool fitsAll;
    int lineLength;       // characters of this screen line
    int lineWidth;        // its width in pixels, the break character's width included
};

// Breaks off the first screen line of text that fits in maxWidth pixels. Breaks go before ' ',
// '-', '/' and '\\' (a space at the break is skipped) and after '\n'; a first word that does not
// fit leaves an empty line unless forceBreak, which cuts it at the character that overflows.
// Measures in the list's bold context when measureBold, else in its normal context.
LineBreak breakLine(const DisplayList* list, const char* text, std::int16_t maxWidth,
                    bool measureBold, bool forceBreak);

// Lays one line out into pieces, one per screen line, starting at rendered row `row` with the
// running cursors of its logical row; all three are advanced. A piece that cannot be allocated
// ends the line there: the pieces made so far stay and row is left at the last of them.
void layoutDisplayLine(DisplayList* list, DisplayLine* line, int& row, int& cursor,
                       int& contCursor);

// Lays every visible line out and sets rowCount. Callers free the previous pieces first.
void layoutDisplayList(DisplayList* list);

// Rows of lineHeight pixels between top and bottom: 16 in the start-up view.
int rowsPerPage(const DisplayList* list);
// y in host pixels of a rendered row at the current scroll position.
int rowTop(const DisplayList* list, int row);
// Whether a rendered row is shown at the current scroll position.
bool rowInView(const DisplayList* list, int row);
// The largest useful firstRow: rowCount - rowsPerPage, never below 0.
int lastFirstRow(const DisplayList* list);
// firstRow clamped to 0 .. lastFirstRow.
int clampFirstRow(const DisplayList* list, int firstRow);
// Whether the view needs a scroll bar: more rows than fit.
bool needsScrollBar(const DisplayList* list);
