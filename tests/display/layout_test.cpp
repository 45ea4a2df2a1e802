// Layout of lines into pieces on the fixed-width test face (6 pixels a character, 7 bold).
// Most cases narrow the view to right = 60, ten characters, so the numbers stay small.
#include "support.h"

namespace {

struct PieceWant {
    std::string text;
    int x, width, row;
    std::uint8_t kind;
};

struct LayoutCase {
    const char* name;
    std::uint8_t kind;
    const char* text;
    std::int16_t x, contX, width;
    bool bold;
    std::vector<PieceWant> pieces;
};

const LayoutCase layoutCases[] = {
    {"text that fits exactly stays on one line", TextLine, "abcdefghij", 0, 0, -1, false,
     {{"abcdefghij", 0, 60, 0, TextLine}}},
    {"break after the space, its width in the first piece", TextLine, "abcd efghij", 0, 0, -1,
     false, {{"abcd ", 0, 30, 0, TextLine}, {"efghij", 0, 36, 1, TextLine}}},
    {"a hyphen begins the next piece", TextLine, "abc-defghijk", 0, 0, -1, false,
     {{"abc", 0, 24, 0, TextLine}, {"-defghijk", 0, 54, 1, TextLine}}},
    {"a newline splits even when both fit", TextLine, "ab\ncd", 0, 0, -1, false,
     {{"ab", 0, 18, 0, TextLine}, {"cd", 0, 12, 1, TextLine}}},
    {"a leading newline gives an empty first piece", TextLine, "\nab", 0, 0, -1, false,
     {{"", 0, 0, 0, TextLine}, {"ab", 0, 12, 1, TextLine}}},
    {"unbreakable first word: empty first piece, then cut", TextLine, "abcdefghijklmno", 0, 0,
     -1, false,
     {{"", 0, 0, 0, TextLine}, {"abcdefghij", 0, 60, 1, TextLine}, {"klmno", 0, 30, 2, TextLine}}},
    {"continuation lines at contX", TextLine, "ab cd efgh", 10, 20, -1, false,
     {{"ab cd ", 10, 36, 0, TextLine}, {"efgh", 20, 24, 1, TextLine}}},
    {"continuation at x when contX is not given", TextLine, "ab cd efgh", 10, -1, -1, false,
     {{"ab cd ", 10, 36, 0, TextLine}, {"efgh", 10, 24, 1, TextLine}}},
    {"a negative x is kept inside the view", TextLine, "ab", -8, -8, -1, false,
     {{"ab", 0, 12, 0, TextLine}}},
    {"bold text measured bold", TextLine, "abcd efgh", 4, 4, -1, true,
     {{"abcd ", 4, 35, 0, TextLine}, {"efgh", 4, 28, 1, TextLine}}},
    {"fixed width on every piece", TextLine, "abcd efghij", 0, 0, 50, false,
     {{"abcd ", 0, 50, 0, TextLine}, {"efghij", 0, 50, 1, TextLine}}},
    {"no text spans to right", TextLine, nullptr, 12, -1, -1, false,
     {{"<none>", 12, 48, 0, TextLine}}},
    {"check box whose caption wraps continues as text at contX", CheckBox, "ab cd efg", 0, 17, -1,
     false, {{"ab cd ", 0, 57, 0, CheckBox}, {"efg", 17, 18, 1, TextLine}}},
    {"group check box continues as text", GroupCheckBox, "ab cd efg", 0, 17, -1, false,
     {{"ab cd ", 0, 57, 0, GroupCheckBox}, {"efg", 17, 18, 1, TextLine}}},
    {"push button keeps only its first line", PushButton, "abcd efghij", 0, 0, -1, false,
     {{"abcd ", 0, 35, 0, PushButton}}},
    {"edit box keeps its kind on continuation", EditBox, "abcd efghij", 0, 0, -1, false,
     {{"abcd ", 0, 30, 0, EditBox}, {"efghij", 0, 36, 1, EditBox}}},
    {"multi-line check box is one piece per row", MultiLineCheckBox, "abcd efghij", 0, 0, -1,
     false, {{"abcd ", 0, 30, 0, MultiLineCheckBox}, {"efghij", 0, 36, 1, MultiLineCheckBox}}},
};

} // namespace

TEST_F(DisplayTest, LayoutCases)
{
    list->right = 60;
    for (const LayoutCase& c : layoutCases) {
        clearDisplayList(list, true);
        DisplayLine* line = add(c.kind, c.text, 0, c.x, c.contX, c.width, c.bold);
        ASSERT_NE(line, nullptr) << c.name;
        layout();
        auto pieces = piecesOf(line);
        ASSERT_EQ(pieces.size(), c.pieces.size()) << c.name;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            const PieceWant& want = c.pieces[i];
            EXPECT_EQ(pieceText(pieces[i]), want.text) << c.name << ", piece " << i;
            EXPECT_EQ(pieces[i]->x, want.x) << c.name << ", piece " << i;
            EXPECT_EQ(pieces[i]->width, want.width) << c.name << ", piece " << i;
            EXPECT_EQ(pieces[i]->row, want.row) << c.name << ", piece " << i;
            EXPECT_EQ(pieces[i]->kind, want.kind) << c.name << ", piece " << i;
        }
        EXPECT_EQ(list->rowCount, static_cast<int>(c.pieces.size())) << c.name;
    }
}

TEST_F(DisplayTest, WrappedCheckBoxPiecesOwnTheirText)
{
    list->right = 60;
    DisplayLine* line = add(CheckBox, "ab cd efg", 0, 0, 17);
    layout();
    auto pieces = piecesOf(line);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0]->ownsText, 1);
    EXPECT_NE(pieces[0]->start, line->text);
    EXPECT_EQ(pieces[1]->ownsText, 0);
    EXPECT_EQ(pieces[1]->start, line->text + 6);
}

TEST_F(DisplayTest, EmptyListHasOneRow)
{
    layout();
    EXPECT_EQ(list->rowCount, 1);
}

TEST_F(DisplayTest, LinesOnOneRowArePlacedWithTheGap)
{
    DisplayLine* first = add(TextLine, "ab", row, 0);
    DisplayLine* second = add(TextLine, "cd", row, -1);
    DisplayLine* fixed = add(TextLine, "ef", row, 100);
    DisplayLine* after = add(TextLine, "gh", row, -1);
    layout();
    EXPECT_EQ(first->pieces->x, 0);
    EXPECT_EQ(second->pieces->x, 12 + 7);
    EXPECT_EQ(fixed->pieces->x, 100);
    EXPECT_EQ(after->pieces->x, 100 + 12 + 7);
    for (DisplayLine* line : {first, second, fixed, after})
        EXPECT_EQ(line->pieces->row, 0);
    EXPECT_EQ(list->rowCount, 1);
}

TEST_F(DisplayTest, RunOnLineContinuesOnTheLastScreenLineOfTheOneBefore)
{
    list->right = 100;
    DisplayLine* first = add(TextLine, "abcdefgh ijklmnop qr", 0, 2, 2);   // two screen lines
    DisplayLine* runOn = add(TextLine, "gh ij kl", 0, -1, -1);
    layout();
    ASSERT_NE(first->pieces->next, nullptr);
    EXPECT_EQ(pieceText(first->pieces->next), "ijklmnop qr");
    auto pieces = piecesOf(runOn);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0]->row, 1);
    EXPECT_EQ(pieces[0]->x, 2 + 66 + 7);
    EXPECT_EQ(pieceText(pieces[0]), "gh ");
    EXPECT_EQ(pieces[1]->x, 2);   // the row's continuation x
    EXPECT_EQ(pieces[1]->row, 2);
    EXPECT_EQ(pieceText(pieces[1]), "ij kl");
}

TEST_F(DisplayTest, HiddenAndSkippedRows)
{
    DisplayLine* a = add(TextLine, "a", 0);
    DisplayLine* hidden = add(TextLine, "b", 1);
    hidden->id = 99;
    DisplayLine* c = add(TextLine, "c", 2);
    DisplayLine* d = add(TextLine, "d", 4);   // logical row 3 has no lines: one blank row
    hideDisplayLinesById(list, 99);
    layout();
    EXPECT_EQ(a->pieces->row, 0);
    EXPECT_EQ(hidden->pieces, nullptr);
    EXPECT_EQ(c->pieces->row, 1);
    EXPECT_EQ(d->pieces->row, 3);
    EXPECT_EQ(list->rowCount, 4);

    showAllDisplayLines(list);
    layout();
    EXPECT_EQ(hidden->pieces->row, 1);
    EXPECT_EQ(d->pieces->row, 4);
}

TEST_F(DisplayTest, VisibleLineAfterAHiddenOneOnItsRowStartsWhereItWould)
{
    add(TextLine, "a", 0);
    DisplayLine* hidden = add(TextLine, "bb", 1, 40, 50);
    hidden->flags &= ~lineVisible;
    DisplayLine* next = add(TextLine, "cc dd", 1, -1, -1);
    list->right = 40 + 7 + 18;
    layout();
    EXPECT_EQ(next->pieces->row, 1);
    EXPECT_EQ(next->pieces->x, 40 + 7);
    ASSERT_NE(next->pieces->next, nullptr);
    EXPECT_EQ(next->pieces->next->x, 50);
}

TEST_F(DisplayTest, DropListShowsTheChosenOption)
{
    DisplayLine* line = add(DropList, nullptr, 0, 10);
    addDisplayOption(line, "first", 0, 0, 1, 0);
    addDisplayOption(line, "second", 0, 0, 2, 0);
    layout();
    EXPECT_EQ(line->group, 0);   // none chosen yet: the first
    EXPECT_EQ(pieceText(line->pieces), "first");
    EXPECT_EQ(line->pieces->width, 30 + 17);

    line->group = 1;
    layout();
    EXPECT_EQ(pieceText(line->pieces), "second");

    line->group = 5;   // no such option: no text, spanning to right
    layout();
    EXPECT_EQ(line->pieces->start, nullptr);
    EXPECT_EQ(line->pieces->width, 215 - 10);
}

TEST_F(DisplayTest, DropListChosenTextWrapsAsDropListMore)
{
    list->right = 77;   // 60 for text after the drop button's 17
    DisplayLine* line = add(DropList, nullptr, 0, 0, 0);
    addDisplayOption(line, "abcd efghij", 0, 0, 1, 1);
    layout();
    auto pieces = piecesOf(line);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0]->kind, DropList);
    EXPECT_EQ(pieces[0]->ownsText, 1);
    EXPECT_EQ(pieceText(pieces[0]), "abcd ");
    EXPECT_EQ(pieces[1]->kind, DropListMore);
    EXPECT_EQ(pieceText(pieces[1]), "efghij");
}

TEST_F(DisplayTest, RowCounterIsReadNotAdvanced)
{
    std::int16_t counter = 3;
    DisplayLine* line = addDisplayLine(list, TextLine, "x", 1, 2, counter, 5, 1, 1, 1, 1, 4, 0,
                                       -1, -1);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(counter, 3);
    EXPECT_EQ(line->row, 3);
    EXPECT_EQ(line->flags, lineBold | lineUnderline | lineState | lineOwnsText | lineVisible);
    DisplayLine* drop = addDisplayLine(list, DropList, nullptr, 0, 0, counter, 6, 0, 0, 1, 1, -1,
                                       0, -1, -1);
    EXPECT_EQ(drop->flags, lineVisible);   // no state bit, no copy without text
    static const char callers[] = "y";
    DisplayLine* evenBits = addDisplayLine(list, TextLine, callers, 0, 0, counter, 6, 2, 2, 2, 2,
                                           0, 0, -1, -1);
    EXPECT_EQ(evenBits->flags, lineVisible);   // only the lowest bit counts
    EXPECT_EQ(evenBits->text, callers);        // not copied
}

TEST_F(DisplayTest, ARowGoingBackIsPlacedInRowOrder)
{
    DisplayLine* a = add(TextLine, "a", 0);
    DisplayLine* c = add(TextLine, "c", 2);
    DisplayLine* b = add(TextLine, "b", 1);
    DisplayLine* z = add(TextLine, "z", 0, 50);
    ASSERT_NE(b, nullptr);
    std::vector<DisplayLine*> order;
    for (DisplayLine* line = list->head; line; line = line->next)
        order.push_back(line);
    EXPECT_EQ(order, (std::vector<DisplayLine*>{a, z, b, c}));
    EXPECT_EQ(list->tail, c);
    layout();
    EXPECT_EQ(z->pieces->row, 0);
    EXPECT_EQ(b->pieces->row, 1);
    EXPECT_EQ(c->pieces->row, 2);
    EXPECT_EQ(list->rowCount, 3);
}

TEST_F(DisplayTest, ClearingStartsAgainFromTheCallersRow)
{
    add(TextLine, "a", 0);
    add(TextLine, "b", 5);
    layout();
    list->firstRow = 3;
    clearDisplayList(list, true);
    EXPECT_EQ(list->head, nullptr);
    EXPECT_EQ(list->tail, nullptr);
    EXPECT_EQ(list->firstRow, 3);   // the caller resets it
    EXPECT_EQ(list->rowCount, 6);
    DisplayLine* again = add(TextLine, "c", 2);
    layout();
    EXPECT_EQ(again->pieces->row, 2);
}

TEST_F(DisplayTest, LayoutSurvivesEveryAllocationFailure)
{
    // Lines of every wrapping kind; the Nth allocation of the layout fails, N = 1, 2, ...
    list->right = 60;
    add(TextLine, "ab cd ef gh ij kl mn", 0);
    add(CheckBox, "ab cd ef gh ij", 1, 0, 17);
    add(EditBox, "ab cd ef gh ij", 2);
    DisplayLine* drop = add(DropList, nullptr, 3);
    addDisplayOption(drop, "ab cd ef gh ij kl mn op", 0, 0, 1, 1);
    layout();
    const int fullRows = list->rowCount;
    for (long failAt = 1;; ++failAt) {
        freeDisplayPieces(list);
        setAllocationFailure(failAt);
        layoutDisplayList(list);
        bool failed = allocationCount() >= failAt;
        setAllocationFailure(0);
        // Pieces are in row order and within the rows counted.
        int lastRow = -1;
        for (DisplayLine* line = list->head; line; line = line->next)
            for (DisplayPiece* piece = line->pieces; piece; piece = piece->next) {
                EXPECT_GE(piece->row, lastRow) << "failing allocation " << failAt;
                EXPECT_LT(piece->row, list->rowCount) << "failing allocation " << failAt;
                lastRow = piece->row;
            }
        if (!failed) {
            EXPECT_EQ(list->rowCount, fullRows);
            break;
        }
        ASSERT_LT(failAt, 200);
    }
}

TEST_F(DisplayTest, SetDisplayLineTextCopiesWhateverItsLength)
{
    DisplayLine* line = add(EditBox, "old", 0);
    layout();
    std::string typed(5000, 'q');
    setDisplayLineText(line, typed.c_str(), 1);
    typed.assign(5000, 'z');   // the caller's buffer is reused
    EXPECT_NE(line->flags & lineOwnsText, 0);
    EXPECT_EQ(std::string(line->text), std::string(5000, 'q'));
    EXPECT_EQ(pieceText(line->pieces), std::string(5000, 'q'));

    static const char kept[] = "kept";
    setDisplayLineText(line, kept, 0);
    EXPECT_EQ(line->flags & lineOwnsText, 0);
    EXPECT_EQ(line->text, kept);
    EXPECT_EQ(pieceText(line->pieces), "kept");

    setDisplayLineText(line, nullptr, 1);
    EXPECT_EQ(line->text, nullptr);
    EXPECT_EQ(line->pieces->start, nullptr);
}

TEST_F(DisplayTest, SetDisplayLineTextOnAWrappedOwnedText)
{
    list->right = 60;
    DisplayLine* line = addDisplayLine(list, EditBox, "abcd efghij klmnop qr", 0, 0, row, 3, 0, 0, 0, 1,
                                       0, 0, 0, -1);
    layout();
    ASSERT_EQ(piecesOf(line).size(), 3u);
    setDisplayLineText(line, "new", 1);
    auto pieces = piecesOf(line);
    EXPECT_EQ(pieceText(pieces[0]), "new");
    EXPECT_EQ(pieces[0]->ownsText, 0);
    // The last piece pointed into the freed text; it shows nothing until the next layout.
    EXPECT_EQ(pieces[2]->start, nullptr);
    layout();
    EXPECT_EQ(piecesOf(line).size(), 1u);
}

TEST_F(DisplayTest, SetDisplayLineTextWithoutMemoryKeepsTheOldText)
{
    DisplayLine* line = addDisplayLine(list, EditBox, "old", 0, 0, row, 3, 0, 0, 0, 1, 0, 0, 0,
                                       -1);
    setAllocationFailure(1, false, true);
    char typed[] = "typed";
    setDisplayLineText(line, typed, 1);
    setAllocationFailure(0);
    EXPECT_STREQ(line->text, "old");
    EXPECT_NE(line->flags & lineOwnsText, 0);
}

TEST_F(DisplayTest, AppendWithoutMemoryAddsNothing)
{
    setAllocationFailure(1, false, true);
    EXPECT_EQ(add(TextLine, "a", 0), nullptr);
    setAllocationFailure(2, false, true);   // the line, then its copy
    EXPECT_EQ(addDisplayLine(list, TextLine, "a", 0, 0, row, 0, 0, 0, 0, 1, 0, 0, -1, -1),
              nullptr);
    setAllocationFailure(0);
    EXPECT_EQ(list->head, nullptr);
    DisplayLine* drop = add(DropList, nullptr, 0);
    setAllocationFailure(2, false, true);
    DisplayOption* option = addDisplayOption(drop, "text", 1, 2, 3, 1);
    setAllocationFailure(0);
    ASSERT_NE(option, nullptr);
    EXPECT_EQ(option->text, nullptr);
    EXPECT_EQ(option->ownsText, 0);
}

TEST_F(DisplayTest, RowsInViewAndScrollArithmetic)
{
    EXPECT_EQ(rowsPerPage(list), 16);
    list->rowCount = 40;
    list->firstRow = 1;
    EXPECT_EQ(rowTop(list, 1), 30);
    EXPECT_EQ(rowTop(list, 16), 270);
    EXPECT_TRUE(rowInView(list, 16));
    EXPECT_FALSE(rowInView(list, 17));
    EXPECT_FALSE(rowInView(list, 0));
    EXPECT_EQ(lastFirstRow(list), 24);
    EXPECT_EQ(clampFirstRow(list, -3), 0);
    EXPECT_EQ(clampFirstRow(list, 30), 24);
    EXPECT_TRUE(needsScrollBar(list));
    list->rowCount = 16;
    EXPECT_FALSE(needsScrollBar(list));
    EXPECT_EQ(lastFirstRow(list), 0);
    list->rowCount = 17;
    EXPECT_TRUE(needsScrollBar(list));
}

TEST_F(DisplayTest, FindLineByControlAndCheckStates)
{
    DisplayLine* box = addDisplayLine(list, CheckBox, "box", 0, 0, row, 4, 0, 0, 1, 0, 0, 0, -1,
                                      -1);
    renderDisplayList(list, 0, true);
    HWND control = box->pieces->control;
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(findDisplayLineByControl(list, control), box);
    EXPECT_EQ(findDisplayLineByControl(list, state.mainWindow), nullptr);
    EXPECT_EQ(findDisplayLineByControl(list, nullptr), nullptr);
    EXPECT_EQ(SendMessageW(control, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_FALSE(syncCheckStates(list));
    SendMessageW(control, BM_SETCHECK, BST_UNCHECKED, 0);   // the control went its own way
    EXPECT_TRUE(syncCheckStates(list));
    EXPECT_EQ(SendMessageW(control, BM_GETCHECK, 0, 0), BST_CHECKED);
    box->flags &= ~lineState;
    EXPECT_TRUE(syncCheckStates(list));
    EXPECT_EQ(SendMessageW(control, BM_GETCHECK, 0, 0), BST_UNCHECKED);
}
