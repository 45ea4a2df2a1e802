// Layout: each visible line becomes pieces, one per rendered row, placed left to right along its
// logical row with a gap between entries. Hidden lines take no row; a logical row the caller
// skipped stays one blank row. Also the row arithmetic of the view and the scroll bar.
#include "display/layout.h"

#include "dbfile/heap.h"
#include "dbfile/textbuilder.h"

// Width of the part of a control that is not its text: the box of a check box, the drop
// button of a drop list.
static int kindExtra(std::uint8_t kind)
{
    if (kind == CheckBox || kind == GroupCheckBox)
        return 21;
    if (kind == DropList)
        return 17;
    return 0;
}

static std::int16_t toInt16(int value)
{
    if (value > INT16_MAX)
        return INT16_MAX;
    if (value < INT16_MIN)
        return INT16_MIN;
    return static_cast<std::int16_t>(value);
}

// The text a line shows: its own, or for a drop list the chosen option's (the first one when
// nothing has been chosen yet).
static const char* layoutText(DisplayLine* line)
{
    if (line->kind != DropList)
        return line->text;
    if (line->group == -1)
        line->group = 0;
    const DisplayOption* chosen = displayOptionAt(line, line->group);
    return chosen ? chosen->text : nullptr;
}

// Gives the piece its own copy of the text it shows, so the control can be made from it alone.
// Without memory the piece keeps its range of the line's text, which shows the same.
static void copyPieceText(DisplayPiece* piece)
{
    int length = static_cast<int>(piece->end - piece->start);
    char* copy = static_cast<char*>(allocBlock(static_cast<std::size_t>(length) + 1));
    if (!copy)
        return;
    TextBuilder text = beginText(copy, length + 1);
    textAppendPart(&text, piece->start, length);
    piece->start = copy;
    piece->end = nullptr;
    piece->ownsText = 1;
}

namespace {

// Underlined plain text is shown in the underline font, which need not measure like the system
// font the normal context holds (here it is larger): measured in the system font, a page link's
// caption was cut off at its end. While such a line is laid out, the normal context measures
// with the underline font; it gets its own font back afterwards.
struct UnderlineMeasure {
    HDC context = nullptr;
    HGDIOBJ previous = nullptr;
    UnderlineMeasure(const DisplayList* list, const DisplayLine* line)
    {
        bool underlinedPlain = (line->flags & (lineUnderline | lineBold)) == lineUnderline;
        if (underlinedPlain && list->underlineFont && list->normalMeasureContext) {
            context = list->normalMeasureContext;
            previous = SelectObject(context, list->underlineFont);
        }
    }
    ~UnderlineMeasure()
    {
        if (context && previous)
            SelectObject(context, previous);
    }
};

} // namespace

void layoutDisplayLine(DisplayList* list, DisplayLine* line, int& row, int& cursor,
                       int& contCursor)
{
    UnderlineMeasure underlineMeasure(list, line);
    const bool measureBold = (line->flags & lineBold) != 0;
    const char* text = layoutText(line);
    int extra = kindExtra(line->kind);
    std::uint8_t pieceKind = line->kind;
    bool first = true;
    DisplayPiece** tail = &line->pieces;
    while (*tail)
        tail = &(*tail)->next;
    for (;;) {
        DisplayPiece* piece = static_cast<DisplayPiece*>(allocZeroedReserved(sizeof(DisplayPiece)));
        if (!piece) {
            if (!first)
                row -= 1;   // no piece on the row just begun
            return;
        }
        piece->kind = pieceKind;
        piece->row = toInt16(row);
        *tail = piece;
        tail = &piece->next;

        if (line->contX != -1)
            contCursor = line->contX;
        else if (line->x != -1)
            contCursor = line->x;
        if (first)
            cursor = line->x != -1 ? line->x : cursor + list->gap;
        else
            cursor = contCursor;
        // A negative position (a row begun with neither x nor contX, or a negative indent)
        // would put the start of the text outside the view.
        if (cursor < 0)
            cursor = 0;
        piece->x = toInt16(list->left + cursor);

        LineBreak broken = {nullptr, true, 0, 0};
        if (text)
            broken = breakLine(list, text, toInt16(list->right - piece->x - extra), measureBold,
                               !first);
        if (line->width != -1)
            piece->width = line->width;
        else if (!text)
            piece->width = toInt16(list->right - piece->x);
        else
            piece->width = toInt16(broken.lineWidth + extra + (line->kind == PushButton ? 5 : 0));

        if (text) {
            piece->start = text;
            // A line ended by '\n' shows without it; other breaks end where the next line starts.
            if (broken.fitsAll || text[broken.lineLength] == '\n')
                piece->end = text + broken.lineLength;
            else
                piece->end = broken.rest;
        }

        bool moreText = broken.rest && *broken.rest != '\0';
        if (!moreText) {
            cursor += line->width != -1 ? line->width : broken.lineWidth + extra;
            return;
        }
        switch (line->kind) {
        case CheckBox:
        case GroupCheckBox:
        case DropList:
            copyPieceText(piece);
            pieceKind = line->kind == DropList ? DropListMore : TextLine;
            extra = 0;
            break;
        case EditBox:
        case PageLink:
            copyPieceText(piece);
            break;
        case PushButton:
            // Only the first line of a button's caption is shown. The cursor moves past the
            // button so that an entry after it on the row does not cover it.
            cursor += piece->width;
            return;
        default:
            break;
        }
        text = broken.rest;
        row += 1;
        first = false;
    }
}

void layoutDisplayList(DisplayList* list)
{
    const int gap = list->gap;
    int rendered = 0;
    int cursor = -gap;
    int contCursor = -gap;
    int advanced = 0;
    int skipped = 0;
    bool reset = true;
    for (DisplayLine* line = list->head; line; line = line->next) {
        freeLinePieces(line);
        // Rendered rows are stored in 16 bits; lines beyond that many rows are not laid out.
        if (rendered >= INT16_MAX)
            continue;
        if (line->flags & lineVisible) {
            // "<" rather than "!=": a row below the current one (rows set by hand, out of
            // order) joins the current row instead of running the counter round.
            while (advanced + skipped < line->row) {
                rendered += 1;
                advanced += 1;
                if (reset)
                    cursor = contCursor = -gap;
            }
            layoutDisplayLine(list, line, rendered, cursor, contCursor);
            reset = true;
            continue;
        }
        if (line->x != -1)
            cursor = contCursor = line->x;
        if (line->contX != -1)
            contCursor = line->contX;
        if (line->next && line->next->row == line->row) {
            reset = false;   // the visible lines after it on this row start where it would have
        } else {
            reset = true;
            if (advanced + skipped < line->row)
                skipped += 1;   // its logical row takes no rendered row
        }
    }
    list->rowCount = rendered + 1;
}

int rowsPerPage(const DisplayList* list)
{
    if (list->lineHeight == 0 || list->bottom <= list->top)
        return 0;
    return (list->bottom - list->top) / list->lineHeight;
}

int rowTop(const DisplayList* list, int row)
{
    return list->top + (row - list->firstRow) * list->lineHeight;
}

bool rowInView(const DisplayList* list, int row)
{
    return row >= list->firstRow && rowTop(list, row) + list->lineHeight <= list->bottom;
}

int lastFirstRow(const DisplayList* list)
{
    int last = list->rowCount - rowsPerPage(list);
    return last > 0 ? last : 0;
}

int clampFirstRow(const DisplayList* list, int firstRow)
{
    if (firstRow < 0)
        return 0;
    int last = lastFirstRow(list);
    return firstRow > last ? last : firstRow;
}

bool needsScrollBar(const DisplayList* list)
{
    return list->rowCount - rowsPerPage(list) >= 1;
}
