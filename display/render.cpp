// Rendering of the rows in view as child controls, and their destruction. Every render makes
// the controls anew; scrolling is a render with a moved firstRow and no new layout.
#include "display/render.h"

#include <climits>
#include <cstring>

#include "display/fonts.h"
#include "display/layout.h"
#include "display/widetext.h"

namespace {

const char searchPrompt[] = "Enter your Search Here";
const int listLineHeight = 18;
const int dropListControlId = 5;
const int dropButtonControlId = 20000;
const int checkBoxControlId = 11;

// What one control of a piece is made of.
struct ControlShape {
    const char* className;
    DWORD style;
    int width, height, id;
};

// The drop list of the line being rendered, when this render made it.
struct RenderState {
    const DisplayLine* dropLine;
    HWND dropList;
};

} // namespace

static HWND makeControl(const DisplayList* list, const ControlShape& shape, const char* start,
                        const char* end, int x, int y)
{
    WideText className;
    WideText text;
    const WCHAR* wideClass = widenRange(&className, shape.className, nullptr);
    const WCHAR* wideText = start ? widenRange(&text, start, end) : nullptr;
    HWND control = nullptr;
    if (wideClass && (wideText || !start))
        control = CreateWindowExW(0, wideClass, wideText, shape.style, x, y, shape.width,
                                  shape.height, list->host,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(shape.id)),
                                  list->instance, nullptr);
    releaseWide(&className);
    if (start)
        releaseWide(&text);
    return control;
}

static void setControlFont(const DisplayList* list, const DisplayLine* line, HWND control)
{
    HFONT font = controlFont(list, line);
    if (control && font)
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

static bool textIs(const DisplayPiece* piece, const char* wanted)
{
    if (!piece->start)
        return false;
    std::size_t length = piece->end ? static_cast<std::size_t>(piece->end - piece->start)
                                    : std::strlen(piece->start);
    return length == std::strlen(wanted) && std::memcmp(piece->start, wanted, length) == 0;
}

void addDropListLine(HWND listBox, const char* start, const char* end)
{
    WideText text;
    const WCHAR* wide = widenRange(&text, start, end);
    if (wide)
        SendMessageW(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide));
    releaseWide(&text);
}

int dropListWidth(const DisplayList* list, const DisplayLine* line, int x, int laidOutWidth)
{
    if (!line->options)
        return laidOutWidth;
    int cap = list->right - x - 17;
    int widest = 0;
    for (const DisplayOption* option = line->options; option; option = option->next) {
        int width = 0;
        if (option->text)
            width = measureText(list->normalMeasureContext, option->text, INT_MAX);
        if (width > cap)
            width = cap;
        if (width > widest)
            widest = width;
    }
    return widest + 10;
}

bool dropListPlace(const DisplayList* list, const DisplayLine* line, int* x, int* y, int* width)
{
    for (const DisplayPiece* piece = line->pieces; piece; piece = piece->next) {
        if (rowInView(list, piece->row)) {
            *x = piece->x;
            *y = rowTop(list, piece->row);
            *width = line->pieces->width;
            return true;
        }
    }
    return false;
}

static HWND makeDropListBox(const DisplayList* list, const DisplayLine* line,
                            const DisplayPiece* piece, int x, int y, int width)
{
    ControlShape shape = {"LISTBOX",
                        WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | LBS_EXTENDEDSEL |
                            LBS_NOTIFY,
                        width, listLineHeight, dropListControlId};
    static const char listText[] = "v";
    HWND listBox = makeControl(list, shape, listText, nullptr, x, y);
    if (piece->start)
        setControlFont(list, line, listBox);
    return listBox;
}

static void renderDropList(DisplayList* list, DisplayLine* line, DisplayPiece* piece, int y,
                           RenderState* state)
{
    piece->width = static_cast<std::int16_t>(dropListWidth(list, line, piece->x, piece->width));
    ControlShape button = {"BUTTON", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 10, 17,
                          dropButtonControlId};
    static const char buttonText[] = "v";
    piece->control2 = makeControl(list, button, buttonText, nullptr, piece->x + piece->width, y);
    piece->control = makeDropListBox(list, line, piece, piece->x, y, piece->width);
    if (piece->control) {
        if (piece->start)
            addDropListLine(piece->control, piece->start, piece->end);
        SendMessageW(piece->control, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    }
    state->dropLine = line;
    state->dropList = piece->control;
}

// A further line of a drop list's chosen text joins the list; when the list's first line is
// above the view, the list is made here.
static void renderDropListMore(DisplayList* list, DisplayLine* line, DisplayPiece* piece, int y,
                               RenderState* state)
{
    DisplayPiece* first = line->pieces;
    if (state->dropLine != line) {
        if (first->control)
            return;   // a list kept from an earlier render already holds these lines
        first->width = static_cast<std::int16_t>(dropListWidth(list, line, first->x, first->width));
        first->control = makeDropListBox(list, line, piece, piece->x, y, first->width);
        if (first->control)
            SendMessageW(first->control, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        state->dropLine = line;
        state->dropList = first->control;
    }
    HWND listBox = state->dropList;
    if (!listBox)
        return;
    if (piece->start)
        addDropListLine(listBox, piece->start, piece->end);
    int x, top, width;
    if (!dropListPlace(list, line, &x, &top, &width))
        return;
    int lines = static_cast<int>(SendMessageW(listBox, LB_GETCOUNT, 0, 0));
    if (lines < 1)
        lines = 1;
    MoveWindow(listBox, x, top, width, lines * listLineHeight, TRUE);
}

// The class, style, size and id of a piece's control; false for kinds that make none.
static bool controlShape(const DisplayLine* line, const DisplayPiece* piece, ControlShape* shape)
{
    const bool state = (line->flags & lineState) != 0;
    const DWORD shown = WS_CHILD | WS_VISIBLE;
    switch (piece->kind) {
    case TextLine:
        *shape = {"STATIC", static_cast<DWORD>(shown | (state ? SS_NOTIFY : 0)), piece->width + 2, 15, line->id};
        return true;
    case CheckBox:
    case GroupCheckBox:
        *shape = {"BUTTON", shown | BS_AUTOCHECKBOX, piece->width, 16, checkBoxControlId};
        return true;
    case PushButton:
        *shape = {"BUTTON", shown, piece->width, 16, line->id};
        return true;
    case MultiLineCheckBox:
        *shape = {"BUTTON", shown | BS_MULTILINE | BS_AUTOCHECKBOX, piece->width, 18, line->id};
        return true;
    case EditBox:
    case PageLink: {
        DWORD style = state ? shown | ES_READONLY | ES_CENTER : shown | WS_BORDER | ES_CENTER;
        if (textIs(piece, searchPrompt))
            style |= WS_BORDER;
        *shape = {"EDIT", style, piece->width, 18, line->id};
        return true;
    }
    default:
        return false;
    }
}

static void renderPiece(DisplayList* list, DisplayLine* line, DisplayPiece* piece, int y,
                        RenderState* state)
{
    if (piece->kind == DropList) {
        if (!piece->control && !piece->control2)
            renderDropList(list, line, piece, y, state);
        return;
    }
    if (piece->kind == DropListMore) {
        renderDropListMore(list, line, piece, y, state);
        return;
    }
    ControlShape shape;
    if (piece->control || !controlShape(line, piece, &shape))
        return;
    piece->control = makeControl(list, shape, piece->start, piece->end, piece->x, y);
    if (!piece->control)
        return;
    bool checkable = piece->kind == CheckBox || piece->kind == GroupCheckBox ||
                     piece->kind == MultiLineCheckBox;
    if (checkable && (line->flags & lineState))
        SendMessageW(piece->control, BM_SETCHECK, BST_CHECKED, 0);
    if (piece->start)
        setControlFont(list, line, piece->control);
}

bool renderDisplayList(DisplayList* list, int delta, bool relayout, bool keepControls)
{
    if (!keepControls)
        destroyDisplayControls(list);
    if (relayout) {
        freeDisplayPieces(list);
        layoutDisplayList(list);
    }
    list->firstRow = static_cast<std::uint16_t>(list->firstRow + delta);
    RenderState state = {nullptr, nullptr};
    for (DisplayLine* line = list->head; line; line = line->next) {
        // Lines hidden since the last layout keep their pieces but show nothing.
        if (!(line->flags & lineVisible))
            continue;
        for (DisplayPiece* piece = line->pieces; piece; piece = piece->next) {
            if (piece->row < list->firstRow)
                continue;
            if (!rowInView(list, piece->row))
                return true;
            renderPiece(list, line, piece, rowTop(list, piece->row), &state);
        }
    }
    return false;
}

void destroyDisplayControls(DisplayList* list)
{
    for (DisplayLine* line = list->head; line; line = line->next) {
        if ((line->flags & lineVisible) && line->kind == RuleLine && line->pieces)
            continue;   // rule lines make no controls
        for (DisplayPiece* piece = line->pieces; piece; piece = piece->next) {
            if (piece->control)
                DestroyWindow(piece->control);
            if (piece->control2)
                DestroyWindow(piece->control2);
            piece->control = nullptr;
            piece->control2 = nullptr;
        }
    }
}
