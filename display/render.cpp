// Rendering of the rows in view as child controls, and their destruction. A render takes over
// the controls of the render before that it would make again exactly as they stand, and static
// texts it can give a new text and place (see takeOverControls), and makes the others anew; a
// new page takes over the controls of the page left the same way. Scrolling is a render with a
// moved firstRow and no new layout.
#include "display/render.h"

#include <climits>
#include <cstring>

#include "display/droplist.h"
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

// Kinds whose controls hold nothing beyond what takeOverControls compares. Drop lists (items,
// selection, moves, a hidden button) and edit fields (typed text) are always made anew.
bool mayTakeOver(std::uint8_t kind)
{
    return kind == TextLine || kind == CheckBox || kind == GroupCheckBox || kind == PushButton ||
           kind == MultiLineCheckBox;
}

bool isCheckable(std::uint8_t kind)
{
    return kind == CheckBox || kind == GroupCheckBox || kind == MultiLineCheckBox;
}

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
            width = dropOptionWidth(list, option->text);
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

// The font a piece's control is given: none for a piece without text.
static HFONT pieceFont(const DisplayList* list, const DisplayLine* line, const DisplayPiece* piece)
{
    return piece->start ? controlFont(list, line) : nullptr;
}

// The check state a new control of the piece has once made.
static LRESULT madeCheckState(const DisplayLine* line, const DisplayPiece* piece)
{
    return isCheckable(piece->kind) && (line->flags & lineState) ? BST_CHECKED : BST_UNCHECKED;
}

static void offerMade(DisplayList* list, DisplayPiece* piece, const ControlShape& shape, HFONT font,
                      int y)
{
    if (list->madeCount >= madeControlCapacity)
        return;
    if (list->madeSerial == 0)
        list->madeSerial = 1;   // 0 means "not offered"
    piece->serial = list->madeSerial++;
    list->made[list->madeCount++] =
        MadeControl{piece->control, shape.className, shape.style, piece->x, static_cast<std::int16_t>(y),
                    static_cast<std::int16_t>(shape.width), static_cast<std::int16_t>(shape.height),
                    shape.id, font, piece->serial};
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
    if (madeCheckState(line, piece) == BST_CHECKED)
        SendMessageW(piece->control, BM_SETCHECK, BST_CHECKED, 0);
    HFONT font = pieceFont(list, line, piece);
    if (font)
        setControlFont(list, line, piece->control);
    if (mayTakeOver(piece->kind))
        offerMade(list, piece, shape, font, y);
}

// The pieces of the rows in view, in the order they are rendered, to visit(piece, y); false
// from visit stops the walk. True when rows of visible lines remain below the view.
template <typename Visit> static bool forPiecesInView(DisplayList* list, Visit visit)
{
    for (DisplayLine* line = list->head; line; line = line->next) {
        // Lines hidden since the last layout keep their pieces but show nothing.
        if (!(line->flags & lineVisible))
            continue;
        for (DisplayPiece* piece = line->pieces; piece; piece = piece->next) {
            if (piece->row < list->firstRow)
                continue;
            if (!rowInView(list, piece->row))
                return true;
            if (!visit(line, piece, rowTop(list, piece->row)))
                return false;
        }
    }
    return false;
}

static bool renderRows(DisplayList* list)
{
    RenderState state = {nullptr, nullptr};
    return forPiecesInView(list, [&](DisplayLine* line, DisplayPiece* piece, int y) {
        renderPiece(list, line, piece, y, &state);
        return true;
    });
}

// Destroys every piece's controls except the offered ones, which stay (unseen by any piece)
// until takeOverControls gives them to new pieces or destroys them.
static void releaseControls(DisplayList* list, bool keepOffered)
{
    for (DisplayLine* line = list->head; line; line = line->next) {
        if ((line->flags & lineVisible) && line->kind == RuleLine && line->pieces)
            continue;   // rule lines make no controls
        for (DisplayPiece* piece = line->pieces; piece; piece = piece->next) {
            if (piece->control && !(keepOffered && piece->serial))
                DestroyWindow(piece->control);
            if (piece->control2)
                DestroyWindow(piece->control2);
            piece->control = nullptr;
            piece->control2 = nullptr;
            piece->serial = 0;
        }
    }
    if (!keepOffered)
        list->madeCount = 0;
}

// Whether the offered control shows, as it stands now, what a new control of the piece would.
// Focus, a pressed look or another check state are not what a new control has; nor is a text
// the user may have changed, which is read back.
static bool sameControl(const DisplayList* list, const DisplayLine* line, const DisplayPiece* piece,
                        const ControlShape& shape, int y, const MadeControl& made)
{
    if (made.x != piece->x || made.y != y || made.width != shape.width || made.height != shape.height ||
        made.style != shape.style || made.id != shape.id || std::strcmp(made.className, shape.className) != 0 ||
        made.font != pieceFont(list, line, piece) || GetFocus() == made.control)
        return false;
    if (shape.className[0] == 'B' &&
        SendMessageW(made.control, BM_GETSTATE, 0, 0) != madeCheckState(line, piece))
        return false;
    std::size_t length = 0;
    if (piece->start)
        length = piece->end ? static_cast<std::size_t>(piece->end - piece->start) : std::strlen(piece->start);
    WCHAR shown[128];
    if (length >= sizeof shown / sizeof shown[0] ||
        static_cast<std::size_t>(SendMessageW(made.control, WM_GETTEXTLENGTH, 0, 0)) != length ||
        static_cast<std::size_t>(SendMessageW(made.control, WM_GETTEXT, sizeof shown / sizeof shown[0],
                                              reinterpret_cast<LPARAM>(shown))) != length)
        return false;
    for (std::size_t i = 0; i < length; ++i)
        if (shown[i] != static_cast<unsigned char>(piece->start[i]))
            return false;
    return true;
}

// Whether the offered control, a static text, can become the piece's control by taking the
// piece's text, place and id: the same style, height and font, and not focused.
static bool mayRetarget(const DisplayList* list, const DisplayLine* line, const DisplayPiece* piece,
                        const ControlShape& shape, const MadeControl& made)
{
    return made.style == shape.style && made.height == shape.height && piece->kind == TextLine &&
           made.font == pieceFont(list, line, piece) && std::strcmp(made.className, shape.className) == 0 &&
           GetFocus() != made.control;
}

// Gives the offered control the piece's text, place and id, which makes it what a new control of
// the piece would be. False, with the control unchanged, when the text cannot be widened.
static bool retarget(DisplayPiece* piece, const ControlShape& shape, int y, MadeControl& made)
{
    WideText text;
    WCHAR empty[1] = {0};
    const WCHAR* wide = piece->start ? widenRange(&text, piece->start, piece->end) : empty;
    if (!wide)
        return false;
    SetWindowTextW(made.control, wide);
    if (piece->start)
        releaseWide(&text);
    if (made.x != piece->x || made.y != y || made.width != shape.width)
        MoveWindow(made.control, piece->x, y, shape.width, shape.height, TRUE);
    if (made.id != shape.id)
        SetWindowLongPtrW(made.control, GWLP_ID, shape.id);
    made.x = piece->x;
    made.y = static_cast<std::int16_t>(y);
    made.width = static_cast<std::int16_t>(shape.width);
    made.id = shape.id;
    return true;
}

namespace {

bool overlap(const RECT& a, const RECT& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The controls of a render, in the order it renders them: where each lies, and the serial of a
// control taken over (0 for one made by the render).
struct Layers {
    RECT rect[2 * madeControlCapacity];
    std::uint32_t serial[2 * madeControlCapacity];
    int count = 0;   // the arrays are filled as far as count, never read beyond
    bool full = false;

    void add(const RECT& r, std::uint32_t s)
    {
        if (count == 2 * madeControlCapacity) {
            full = true;
            return;
        }
        rect[count] = r;
        serial[count++] = s;
    }
    // Made in order, the controls of a render lie each above the ones made after it. A control
    // taken over lies above every control made now and keeps its place among the others taken
    // over: that shows the same as long as it overlaps no control before it that lies lower.
    bool mayLieAt(const RECT& r, std::uint32_t s) const
    {
        for (int i = 0; i < count; ++i)
            if ((serial[i] == 0 || serial[i] > s) && overlap(rect[i], r))
                return false;
        return true;
    }
};

RECT shapeRect(int x, int y, const ControlShape& shape)
{
    return RECT{x, y, x + shape.width, y + shape.height};
}

// Where a drop list's button and list may come to lie, its first piece in view at y: over the
// full width (the list's width is its widest option), one list line of 18 pixels for each of
// its pieces in view, or as far as the list reaches open over the rows below.
RECT dropListReach(const DisplayList* list, const DisplayPiece* firstInView, int y)
{
    int lines = 0;
    for (const DisplayPiece* p = firstInView; p && rowInView(list, p->row); p = p->next)
        ++lines;
    int height = (lines + 1) * listLineHeight;
    return RECT{INT16_MIN, y, INT16_MAX, y + (height > openDropListHeight ? height : openDropListHeight)};
}

} // namespace

// Walks the pieces in view in the order a render makes their controls, layering each into
// layers after take(line, piece, shape, y, rect) had its chance to give the piece a control.
template <typename Take> static void layerPiecesInView(DisplayList* list, Layers& layers, Take take)
{
    const DisplayLine* dropLine = nullptr;
    forPiecesInView(list, [&](DisplayLine* line, DisplayPiece* piece, int y) {
        if (piece->kind == DropList || piece->kind == DropListMore) {
            if (line != dropLine) {
                dropLine = line;
                layers.add(dropListReach(list, piece, y), 0);
            }
            return !layers.full;
        }
        ControlShape shape;
        if (!controlShape(line, piece, &shape))
            return true;
        RECT r = shapeRect(piece->x, y, shape);
        take(line, piece, shape, y, r);
        layers.add(r, piece->serial);
        return !layers.full;
    });
}

// Gives each piece in view that would make an offered control that control, and then each static
// text still without one an offered static text given its text and place, where that keeps the
// layering of a render that makes every control anew; the offers no piece takes are destroyed.
// The search starts after the last offer taken: pages keep their order. True when a control was
// taken over.
static bool takeOverControls(DisplayList* list)
{
    int count = list->madeCount;
    if (count == 0)
        return false;
    bool taken[madeControlCapacity] = {};
    int next = 0;
    Layers layers;
    layerPiecesInView(list, layers, [&](DisplayLine* line, DisplayPiece* piece, const ControlShape& shape, int y,
                                        const RECT& r) {
        for (int k = 0; mayTakeOver(piece->kind) && k < count; ++k) {
            int i = (next + k) % count;
            const MadeControl& made = list->made[i];
            if (!taken[i] && sameControl(list, line, piece, shape, y, made) && layers.mayLieAt(r, made.serial)) {
                taken[i] = true;
                piece->control = made.control;
                piece->serial = made.serial;
                next = i + 1;
                break;
            }
        }
    });
    // Then the static texts left without a control take an offered static text over, given their
    // text and place (the pieces of a new page or of a scrolled view). Taking a control over
    // only lifts limits on the controls rendered after it, so what was taken above still holds.
    int left = 0;
    for (int i = 0; i < count; ++i)
        left += !taken[i];
    if (left > 0) {
        Layers retaken;
        layerPiecesInView(list, retaken, [&](DisplayLine* line, DisplayPiece* piece, const ControlShape& shape,
                                             int y, const RECT& r) {
            for (int i = 0; left > 0 && piece->kind == TextLine && !piece->control && i < count; ++i) {
                MadeControl& made = list->made[i];
                if (!taken[i] && mayRetarget(list, line, piece, shape, made) &&
                    retaken.mayLieAt(r, made.serial) && retarget(piece, shape, y, made)) {
                    taken[i] = true;
                    --left;
                    piece->control = made.control;
                    piece->serial = made.serial;
                }
            }
        });
    }
    int kept = 0;
    for (int i = 0; i < count; ++i) {
        if (taken[i])
            list->made[kept++] = list->made[i];
        else
            DestroyWindow(list->made[i].control);
    }
    list->madeCount = static_cast<std::uint8_t>(kept);
    list->madeKept = 0;
    return kept > 0;
}

// After the render, from where the controls actually lie (drop lists and edit fields as they
// were moved), whether the controls taken over keep the layering of a render that makes all
// anew; takeOverControls sees to it, this is the check that it did.
static bool layeredAsMade(DisplayList* list, std::uint32_t firstNewSerial)
{
    Layers layers;
    bool anyTaken = false, layered = true;
    auto place = [&](HWND control, std::uint32_t serial, const RECT* known) {
        if (!control)
            return;
        RECT r;
        if (known) {
            r = *known;
        } else {
            GetWindowRect(control, &r);
            POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
            ScreenToClient(list->host, &corners[0]);
            ScreenToClient(list->host, &corners[1]);
            r = RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
        }
        std::uint32_t s = serial != 0 && serial < firstNewSerial ? serial : 0;
        if (s) {
            anyTaken = true;
            layered = layered && layers.mayLieAt(r, s);
        }
        layers.add(r, s);
    };
    const DisplayLine* dropLine = nullptr;
    forPiecesInView(list, [&](DisplayLine* line, DisplayPiece* piece, int y) {
        ControlShape shape;
        if (piece->kind == DropList || piece->kind == DropListMore) {
            // A drop list's button, then its list, made with the line's first piece in view.
            if (line != dropLine) {
                dropLine = line;
                place(line->pieces->control2, 0, nullptr);
                place(line->pieces->control, 0, nullptr);
                RECT reach = dropListReach(list, piece, y);
                layers.add(reach, 0);
            }
        } else if (piece->serial && controlShape(line, piece, &shape)) {
            RECT r = shapeRect(piece->x, y, shape);
            place(piece->control, piece->serial, &r);
        } else {
            place(piece->control, 0, nullptr);
        }
        return layered && !layers.full;
    });
    return !anyTaken || (layered && !layers.full);
}

bool renderDisplayList(DisplayList* list, int delta, bool relayout, bool keepControls)
{
    if (keepControls)
        destroyKeptControls(list);   // no piece would take them
    else
        releaseControls(list, true);
    if (relayout) {
        freeDisplayPieces(list);
        layoutDisplayList(list);
    }
    list->firstRow = static_cast<std::uint16_t>(list->firstRow + delta);
    if (keepControls)
        return renderRows(list);
    bool takenOver = takeOverControls(list);
    std::uint32_t firstNewSerial = list->madeSerial;
    bool more = renderRows(list);
    if (takenOver && !layeredAsMade(list, firstNewSerial)) {
        // Rare (a drop list or an edit field over a row kept): the render as it always was.
        releaseControls(list, false);
        more = renderRows(list);
    }
    return more;
}

void destroyDisplayControls(DisplayList* list)
{
    destroyKeptControls(list);
    releaseControls(list, false);
}

void keepControlsForNextRender(DisplayList* list)
{
    if (list->madeKept)
        return;   // the pieces hold none
    releaseControls(list, true);
    list->madeKept = list->madeCount > 0;
}

void destroyKeptControls(DisplayList* list)
{
    if (!list->madeKept)
        return;
    for (int i = 0; i < list->madeCount; ++i)
        DestroyWindow(list->made[i].control);
    list->madeCount = 0;
    list->madeKept = 0;
}
