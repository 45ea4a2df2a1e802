// The display's fonts and the two measuring contexts that layout measures text in: one with the
// bold font selected, one keeping the system font that non-bold controls draw with.
#pragma once
#include "display/displaylist.h"

struct AppState;

// Creates boldFont and boldUnderlineFont, the two hidden measuring windows and their contexts,
// then underlineFont from the text metrics of the normal context. The shell's loadDatabases
// calls it before the main window exists. Whatever cannot be made is left none.
void createDisplayFonts(AppState* state);

// Takes the two measuring contexts again from their windows (the bold one with boldFont
// selected), as start-up does once the main window's controls exist.
void fetchMeasureContexts(AppState* state);

// The font a control of the line gets: bold and underline, bold, underline, or none (the
// control keeps the system font).
HFONT controlFont(const DisplayList* list, const DisplayLine* line);
