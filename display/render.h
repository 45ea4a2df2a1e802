// Rendering: the pieces of the rows in view become child controls of the host window, one
// control per piece (two for a drop list: its list and its drop button).
#pragma once
#include "display/displaylist.h"

// Destroys the controls unless keepControls, lays the list out again when relayout, moves
// firstRow by delta and creates the controls of the rows in view. True when rows of visible
// lines remain below the view.
bool renderDisplayList(DisplayList* list, int delta, bool relayout, bool keepControls = false);

// Destroys every piece's controls and clears them, and the controls kept for the next render.
void destroyDisplayControls(DisplayList* list);

// Takes the controls a render may take over away from the pieces, alive, for the next render of
// the list; the others are destroyed. The next render takes them over, moved and given their
// new text where that shows what new controls would, and destroys the rest.
void keepControlsForNextRender(DisplayList* list);

// Destroys the controls kept for the next render, so that a box opened before it shows no
// controls of the screen being left.
void destroyKeptControls(DisplayList* list);

// The width a drop list shows: its widest option (each capped at right - x - 17) plus 10 for the
// drop button's edge. A line without options keeps the width it was laid out with.
int dropListWidth(const DisplayList* list, const DisplayLine* line, int x, int laidOutWidth);

// Where a line's drop list sits: the x and y of the line's first piece in view, and the width
// of its first piece. False when no piece of the line is in view.
bool dropListPlace(const DisplayList* list, const DisplayLine* line, int* x, int* y, int* width);

// Adds [start, end) of a text as one line of a list box (LB_ADDSTRING).
void addDropListLine(HWND listBox, const char* start, const char* end);
