// Opening and closing drop lists. An option longer than the list is wide takes several list
// lines; dropLineMap (one byte per list line) says which option a picked line belongs to, so
// picking any line of an option chooses that option.
#include "display/droplist.h"

#include <climits>
#include <cstdint>
#include <cstring>

#include "dbfile/heap.h"
#include "dbfile/textbuilder.h"
#include "display/layout.h"
#include "display/render.h"
#include "shell/state.h"

namespace {
const int listLineHeight = 18;
// dropLineMap holds one byte per list line, then mapEnd, so that a picked line can be checked
// against the map's length; option indices therefore stay below mapEnd.
const std::uint8_t mapEnd = 0xFF;
const int mapLimit = mapEnd;   // options listed
const char indent[] = "   ";
const int indentLength = 3;
} // namespace

int dropOptionWidth(const DisplayList* list, const char* text)
{
    if (!text)
        return 0;
    // Advances add up to the width of the whole text; a line end stops the sum, and a text too
    // wide to sum in 16 bits is measured whole.
    LineBreak whole = breakLine(list, text, INT16_MAX, false, false);
    return whole.fitsAll ? whole.lineWidth : measureText(list->normalMeasureContext, text, INT_MAX);
}

// Wraps one option's text to the list's width: the first line as it is, every further line as
// three spaces and the rest, wrapped again. Adds the lines to the list box when one is given and
// returns their number. scratch (capacity bytes) holds indentLength + the text's length + 1.
static int wrapOption(const DisplayList* list, const char* text, int width, char* scratch,
                      int capacity, HWND listBox)
{
    if (!text)
        text = "";
    const char* line = text;
    std::size_t position = 0;   // where line's own text begins in text
    int prefix = 0;             // indent at the start of line
    int lines = 0;
    for (;;) {
        LineBreak broken = breakLine(list, line, static_cast<std::int16_t>(width), false, true);
        if (listBox)
            addDropListLine(listBox, line, line + broken.lineLength);
        ++lines;
        if (!broken.rest || *broken.rest == '\0')
            return lines;
        long consumed = static_cast<long>(broken.rest - line) - prefix;
        // A width narrower than the indent would give the same line forever: move on by at
        // least one character of the text.
        position += consumed > 0 ? static_cast<std::size_t>(consumed) : 1;
        if (text[position] == '\0')
            return lines;
        TextBuilder rest = beginText(scratch, capacity);
        textAppend(&rest, indent);
        textAppend(&rest, text + position);
        line = scratch;
        prefix = indentLength;
    }
}

static int optionCount(const DisplayLine* line)
{
    int count = 0;
    for (const DisplayOption* option = line->options; option && count < mapLimit;
         option = option->next)
        ++count;
    return count;
}

static char* makeScratch(const DisplayLine* line, int* capacity)
{
    std::size_t longest = 0;
    int index = 0;
    for (const DisplayOption* option = line->options; option && index < mapLimit;
         option = option->next, ++index) {
        std::size_t length = option->text ? std::strlen(option->text) : 0;
        if (length > longest)
            longest = length;
    }
    *capacity = static_cast<int>(longest) + indentLength + 1;
    return static_cast<char*>(allocBlock(static_cast<std::size_t>(*capacity)));
}

static void resizeList(const DisplayList* list, const DisplayLine* line, int height)
{
    int x, y, width;
    if (dropListPlace(list, line, &x, &y, &width))
        MoveWindow(line->pieces->control, x, y, width, height, TRUE);
}

// Highlights one line. The list allows extended selection, where LB_SETCURSEL does nothing and
// LB_GETCURSEL reads the caret line, so the line is also selected and given the caret: closing
// without a new tap then reads back the option that was chosen, not whatever line 0 holds.
static void highlightLine(HWND listBox, int index)
{
    SendMessageW(listBox, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(listBox, LB_SETSEL, FALSE, -1);
    if (index < 0)
        return;
    SendMessageW(listBox, LB_SETSEL, TRUE, index);
    SendMessageW(listBox, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
}

static void forgetLineMap(AppState* state)
{
    freeBlock(state->dropLineMap);
    state->dropLineMap = nullptr;
}

// The option index of a list line, or -1 when the map has no such line.
static int optionOfLine(const std::uint8_t* map, LRESULT picked)
{
    if (!map || picked < 0)
        return -1;
    for (LRESULT i = 0; i < picked; ++i)
        if (map[i] == mapEnd)
            return -1;
    return map[picked] == mapEnd ? -1 : map[picked];
}

const DisplayOption* openDropList(AppState* state, DisplayLine* line)
{
    const DisplayList* list = &state->displayList;
    if (line->kind != DropList)
        return nullptr;
    const DisplayOption* chosen = displayOptionAt(line, line->group);
    DisplayPiece* first = line->pieces;
    if (!first || !first->control)
        return chosen;
    if (first->control2)
        ShowWindow(first->control2, SW_HIDE);
    forgetLineMap(state);
    int capacity = 0;
    char* scratch = makeScratch(line, &capacity);
    if (!scratch)
        return chosen;
    const int options = optionCount(line);
    int lines = 0;
    const DisplayOption* option = line->options;
    for (int i = 0; i < options; ++i, option = option->next)
        lines += wrapOption(list, option->text, first->width, scratch, capacity, nullptr);
    std::uint8_t* map = static_cast<std::uint8_t*>(allocBlock(static_cast<std::size_t>(lines) + 1));
    if (!map) {
        freeBlock(scratch);
        return chosen;
    }
    HWND listBox = first->control;
    SendMessageW(listBox, LB_RESETCONTENT, 0, 0);
    int firstLineOfChoice = -1;
    int at = 0;
    option = line->options;
    for (int i = 0; i < options; ++i, option = option->next) {
        if (i == line->group)
            firstLineOfChoice = at;
        int count = wrapOption(list, option->text, first->width, scratch, capacity, listBox);
        for (int k = 0; k < count; ++k)
            map[at++] = static_cast<std::uint8_t>(i);
    }
    freeBlock(scratch);
    map[at] = mapEnd;
    state->dropLineMap = map;
    int height = lines * listLineHeight;
    resizeList(list, line, height < openDropListHeight ? height : openDropListHeight);
    highlightLine(listBox, firstLineOfChoice);
    return chosen;
}

const DisplayOption* closeDropList(AppState* state, DisplayLine* line)
{
    const DisplayList* list = &state->displayList;
    DisplayPiece* first = line->pieces;
    if (line->kind != DropList || !first || !first->control)
        return nullptr;
    HWND listBox = first->control;
    // The map describes the list only while it is open: a line outside it, or no map at all
    // (opening ran out of memory), picks nothing.
    const DisplayOption* chosen = nullptr;
    LRESULT picked = SendMessageW(listBox, LB_GETCURSEL, 0, 0);
    LRESULT lines = SendMessageW(listBox, LB_GETCOUNT, 0, 0);
    int option = picked < lines ? optionOfLine(state->dropLineMap, picked) : -1;
    if (option >= 0 && displayOptionAt(line, option)) {
        line->group = static_cast<std::int16_t>(option);
        chosen = displayOptionAt(line, option);
    }
    forgetLineMap(state);
    const DisplayOption* shown = chosen ? chosen : displayOptionAt(line, line->group);
    if (shown && shown->text) {
        int capacity = static_cast<int>(std::strlen(shown->text)) + indentLength + 1;
        char* scratch = static_cast<char*>(allocBlock(static_cast<std::size_t>(capacity)));
        if (scratch) {
            SendMessageW(listBox, LB_RESETCONTENT, 0, 0);
            int count = wrapOption(list, shown->text, first->width, scratch, capacity, listBox);
            freeBlock(scratch);
            resizeList(list, line, count * listLineHeight);
        }
    }
    if (first->control2)
        ShowWindow(first->control2, SW_SHOW);
    return chosen;
}
