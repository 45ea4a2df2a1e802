// The display list's lines: appending, freeing, and the small queries and updates the shell and
// the page checks make on lines. Layout is in layout.cpp, controls in render.cpp.
#include "display/displaylist.h"

#include "dbfile/heap.h"
#include "display/render.h"
#include "shell/state.h"

#include <cstring>

void initDisplayList(AppState* state)
{
    DisplayList* list = &state->displayList;
    list->instance = state->instance;
    list->firstRow = 0;
    list->top = 30;
    list->bottom = 294;
    list->left = 0;
    list->right = 215;
    list->lineHeight = 16;
    list->gap = 7;
    list->head = nullptr;
    list->tail = nullptr;
    list->rowCount = 0;
    list->host = state->mainWindow;
    list->boldFont = state->boldFont;
    list->underlineFont = state->underlineFont;
    list->boldUnderlineFont = state->boldUnderlineFont;
    list->boldMeasureWindow = state->boldMeasureWindow;
    list->normalMeasureWindow = state->normalMeasureWindow;
    list->boldMeasureContext = state->boldMeasureContext;
    list->normalMeasureContext = state->normalMeasureContext;
    for (AdvanceTable& table : list->advanceTables)
        table.inUse = 0;
    list->nextAdvanceTable = 0;
    list->madeCount = 0;
    list->madeKept = 0;
    list->madeSerial = 1;
}

// Links the line in after the last line whose row is not greater than its own: at the tail in
// the usual case, earlier when a caller's row went back, so that layout always sees rows in order.
static void insertByRow(DisplayList* list, DisplayLine* line)
{
    if (!list->tail || list->tail->row <= line->row) {
        if (list->tail)
            list->tail->next = line;
        else
            list->head = line;
        list->tail = line;
        return;
    }
    if (list->head->row > line->row) {
        line->next = list->head;
        list->head = line;
        return;
    }
    DisplayLine* after = list->head;
    while (after->next && after->next->row <= line->row)
        after = after->next;
    line->next = after->next;
    after->next = line;
}

DisplayLine* addDisplayLine(DisplayList* list, std::uint8_t kind, const char* text,
                            std::uint32_t tag, std::uint32_t tag2, const std::int16_t& row,
                            std::uint16_t id, int underline, int bold, int state, int copy,
                            std::int16_t group, std::int16_t x, std::int16_t contX,
                            std::int16_t width)
{
    // A copied text shares the line's block when memory allows: pages add lines by the hundred.
    bool joinCopy = (copy & 1) && text;
    std::size_t textBytes = joinCopy ? std::strlen(text) + 1 : 0;
    DisplayLine* line =
        joinCopy ? static_cast<DisplayLine*>(allocZeroedJoined(sizeof(DisplayLine) + textBytes, 2))
                 : nullptr;
    if (line) {
        std::memcpy(line + 1, text, textBytes);
        text = reinterpret_cast<const char*>(line + 1);
    } else {
        joinCopy = false;
        line = static_cast<DisplayLine*>(allocZeroedReserved(sizeof(DisplayLine)));
    }
    if (!line)
        return nullptr;
    std::uint8_t flags = lineVisible;
    if (bold & 1)
        flags |= lineBold;
    if (underline & 1)
        flags |= lineUnderline;
    if ((state & 1) && kind != DropList)
        flags |= lineState;
    line->text = text;
    if (joinCopy) {
        flags |= lineOwnsText;
    } else if ((copy & 1) && text) {
        line->text = copyTextReserved(text);
        if (!line->text) {
            freeBlock(line);
            return nullptr;
        }
        flags |= lineOwnsText;
    }
    line->tag = tag;
    line->tag2 = tag2;
    line->x = x;
    line->contX = contX;
    line->width = width;
    line->row = row;
    line->id = id;
    line->group = group;
    line->kind = kind;
    line->flags = flags;
    insertByRow(list, line);
    return line;
}

DisplayOption* addDisplayOption(DisplayLine* line, const char* text, std::uint32_t tag,
                                std::uint32_t tag2, std::uint16_t elementId, int copy)
{
    DisplayOption* option = static_cast<DisplayOption*>(allocZeroedReserved(sizeof(DisplayOption)));
    if (!option)
        return nullptr;
    option->tag = tag;
    option->tag2 = tag2;
    option->elementId = elementId;
    option->text = text;
    if ((copy & 1) && text) {
        option->text = copyTextReserved(text);
        option->ownsText = option->text ? 1 : 0;
    }
    DisplayOption** end = &line->options;
    while (*end)
        end = &(*end)->next;
    *end = option;
    return option;
}

const DisplayOption* displayOptionAt(const DisplayLine* line, int index)
{
    const DisplayOption* option = line->options;
    for (int i = 0; option && i < index; ++i)
        option = option->next;
    return index >= 0 ? option : nullptr;
}

// An owned text is its own block unless it was made with the line, right after it.
static void freeLineText(DisplayLine* line)
{
    if ((line->flags & lineOwnsText) && line->text != reinterpret_cast<const char*>(line + 1))
        freeBlock(const_cast<char*>(line->text));
}

static void freePiece(DisplayPiece* piece)
{
    if (piece->ownsText)
        freeBlock(const_cast<char*>(piece->start));
    freeBlock(piece);
}

void freeLinePieces(DisplayLine* line)
{
    DisplayPiece* piece = line->pieces;
    while (piece) {
        DisplayPiece* next = piece->next;
        freePiece(piece);
        piece = next;
    }
    line->pieces = nullptr;
}

void freeDisplayPieces(DisplayList* list)
{
    for (DisplayLine* line = list->head; line; line = line->next)
        freeLinePieces(line);
}

static void freeOptions(DisplayLine* line)
{
    DisplayOption* option = line->options;
    while (option) {
        DisplayOption* next = option->next;
        if (option->ownsText)
            freeBlock(const_cast<char*>(option->text));
        freeBlock(option);
        option = next;
    }
    line->options = nullptr;
}

static void freeLines(DisplayList* list)
{
    freeDisplayPieces(list);
    DisplayLine* line = list->head;
    while (line) {
        DisplayLine* next = line->next;
        freeLineText(line);
        freeOptions(line);
        freeBlock(line);
        line = next;
    }
    list->head = nullptr;
    list->tail = nullptr;
}

void clearDisplayList(DisplayList* list, bool destroyControls)
{
    if (destroyControls)
        destroyDisplayControls(list);
    list->madeCount = 0;   // destroyed, or no longer the list's own
    list->madeKept = 0;
    freeLines(list);
}

void clearDisplayListForNextRender(DisplayList* list)
{
    keepControlsForNextRender(list);
    freeLines(list);
}

DisplayLine* findDisplayLineByControl(const DisplayList* list, HWND window)
{
    if (!window)
        return nullptr;
    for (DisplayLine* line = list->head; line; line = line->next)
        for (const DisplayPiece* piece = line->pieces; piece; piece = piece->next)
            if (piece->control == window || piece->control2 == window)
                return line;
    return nullptr;
}

// Pieces other than the first that still point into the text about to be freed lose their text,
// so that nothing points at freed memory until the next layout.
static void dropPiecesIntoText(DisplayLine* line)
{
    if (!line->pieces)
        return;
    for (DisplayPiece* piece = line->pieces->next; piece; piece = piece->next) {
        if (!piece->ownsText) {
            piece->start = nullptr;
            piece->end = nullptr;
        }
    }
}

void setDisplayLineText(DisplayLine* line, const char* text, int copy)
{
    const char* stored = text;
    bool owns = (copy & 1) && text;
    if (owns) {
        stored = copyTextReserved(text);
        if (!stored)
            return;   // no memory: keep the old text rather than a pointer the caller may reuse
    }
    if (line->flags & lineOwnsText) {
        dropPiecesIntoText(line);
        freeLineText(line);
    }
    line->text = stored;
    line->flags = owns ? (line->flags | lineOwnsText) : (line->flags & ~lineOwnsText);
    DisplayPiece* first = line->pieces;
    if (!first)
        return;
    if (first->ownsText)
        freeBlock(const_cast<char*>(first->start));
    first->ownsText = 0;
    first->start = stored;
    first->end = stored ? stored + std::strlen(stored) : nullptr;
}

void showAllDisplayLines(DisplayList* list)
{
    for (DisplayLine* line = list->head; line; line = line->next)
        line->flags |= lineVisible;
}

void hideDisplayLinesById(DisplayList* list, std::uint16_t id)
{
    for (DisplayLine* line = list->head; line; line = line->next)
        if (line->id == id)
            line->flags &= ~lineVisible;
}

bool syncCheckStates(DisplayList* list)
{
    bool changed = false;
    for (DisplayLine* line = list->head; line; line = line->next) {
        if (line->kind != CheckBox && line->kind != GroupCheckBox)
            continue;
        if (!line->pieces || !line->pieces->control)
            continue;
        HWND control = line->pieces->control;
        bool checked = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
        bool state = (line->flags & lineState) != 0;
        if (checked != state) {
            SendMessageW(control, BM_SETCHECK, state ? BST_CHECKED : BST_UNCHECKED, 0);
            changed = true;
        }
    }
    return changed;
}
