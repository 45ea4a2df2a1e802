// Drop lists: opening shows every option, wrapped to the list's width (continuation lines
// indented by three spaces), with dropLineMap telling which option each list line belongs to;
// closing keeps the picked option and shows only its lines again.
#pragma once
#include "display/displaylist.h"

struct AppState;

// An option's width in the normal measuring context, as measuring the whole text gives it, summed
// from the layout's advances of the context's font where the text holds no line end.
int dropOptionWidth(const DisplayList* list, const char* text);

// The height an open list takes at most.
constexpr int openDropListHeight = 200;

// Opens the line's list over the rows below it (at most 200 pixels high), hides its drop button
// and highlights the chosen option's first line. Returns the chosen option, or nullptr.
const DisplayOption* openDropList(AppState* state, DisplayLine* line);

// Takes the list's selected line as the choice (the line's group becomes its option's index),
// shows that option alone and the drop button again. Returns the chosen option, or nullptr when
// no line of an opened list was selected (the choice is then unchanged).
const DisplayOption* closeDropList(AppState* state, DisplayLine* line);
