// Rendering the rows in view as controls of the host window, on the portable platform with the
// fixed-width test face.
#include "support.h"

#include <algorithm>
#include <cstdio>

#include "display/droplist.h"
#include "platform/portable/host.h"

namespace {

std::string narrow(const WCHAR* text)
{
    std::string out;
    for (; *text; ++text)
        out += static_cast<char>(*text);
    return out;
}

struct Control {
    HWND window;
    std::string className, text;
    DWORD style;
    int x, y, width, height, id;
};

Control describe(HWND window)
{
    Control c{};
    c.window = window;
    WCHAR buffer[512];
    GetClassNameW(window, buffer, 512);
    c.className = narrow(buffer);
    GetWindowTextW(window, buffer, 512);
    c.text = narrow(buffer);
    c.style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    RECT rect;
    GetWindowRect(window, &rect);
    POINT corner = {rect.left, rect.top};
    ScreenToClient(GetParent(window), &corner);
    c.x = corner.x;
    c.y = corner.y;
    c.width = rect.right - rect.left;
    c.height = rect.bottom - rect.top;
    c.id = GetDlgCtrlID(window);
    return c;
}

std::vector<std::string> listLines(HWND listBox)
{
    std::vector<std::string> out;
    int count = static_cast<int>(SendMessageW(listBox, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        WCHAR buffer[512];
        SendMessageW(listBox, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buffer));
        out.push_back(narrow(buffer));
    }
    return out;
}

int heightOf(HWND window) { return describe(window).height; }

// A finger picking a line of a list box, with the messages the system sends for it.
void pick(HWND listBox, int index)
{
    PortableAction action;
    action.kind = PortableActionKind::Pick;
    action.target = listBox;
    action.index = index;
    portablePushAction(action);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace

class RenderTest : public DisplayTest {
protected:
    // Every control the pieces hold, in list order.
    std::vector<HWND> controls()
    {
        std::vector<HWND> out;
        for (DisplayLine* line = list->head; line; line = line->next)
            for (DisplayPiece* piece = line->pieces; piece; piece = piece->next) {
                if (piece->control)
                    out.push_back(piece->control);
                if (piece->control2)
                    out.push_back(piece->control2);
            }
        return out;
    }

    void addRows(int count)
    {
        static char texts[64][16];
        for (std::int16_t r = 0; r < count; ++r) {
            std::snprintf(texts[r], sizeof texts[r], "line %d", r);
            add(TextLine, texts[r], r);
        }
    }
};

TEST_F(RenderTest, ScrollByOneRowShowsSixteenRows)
{
    addRows(40);
    EXPECT_TRUE(renderDisplayList(list, 0, true));
    std::vector<HWND> before = controls();
    ASSERT_EQ(before.size(), 16u);

    EXPECT_TRUE(renderDisplayList(list, 1, false));
    EXPECT_EQ(list->firstRow, 1);
    std::vector<HWND> now = controls();
    for (HWND old : before)   // taken over for another row, or gone
        EXPECT_EQ(IsWindow(old) != FALSE, std::count(now.begin(), now.end(), old) == 1);
    ASSERT_EQ(now.size(), 16u);
    for (std::size_t i = 0; i < now.size(); ++i) {
        Control c = describe(now[i]);
        EXPECT_EQ(c.y, 30 + 16 * static_cast<int>(i)) << c.text;
        EXPECT_EQ(c.text, "line " + std::to_string(i + 1));
        EXPECT_EQ(GetParent(now[i]), state.mainWindow);
    }
    EXPECT_EQ(describe(now.back()).y, 270);

    list->firstRow = 24;   // the last full page
    EXPECT_FALSE(renderDisplayList(list, 0, false));
    EXPECT_EQ(controls().size(), 16u);
}

TEST_F(RenderTest, BlankRowsKeepTheirPlace)
{
    add(TextLine, "a", 0);
    add(TextLine, "b", 3);
    EXPECT_FALSE(renderDisplayList(list, 0, true));
    auto all = controls();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(describe(all[1]).y, 30 + 3 * 16);
}

namespace {

struct KindCase {
    const char* name;
    std::uint8_t kind;
    const char* text;
    bool state;
    const char* className;
    DWORD style;
    int widthOverPiece, height, id;
    bool checked;
};

const DWORD shown = WS_CHILD | WS_VISIBLE;
const KindCase kindCases[] = {
    // name                       kind               text                    state  class     style                                              +w  h   id  checked
    {"text line",                 TextLine,          "text",                 false, "STATIC", shown,                                              2, 15, 42, false},
    {"notifying text line",       TextLine,          "text",                 true,  "STATIC", shown | SS_NOTIFY,                                  2, 15, 42, false},
    {"check box",                 CheckBox,          "box",                  false, "BUTTON", shown | BS_AUTOCHECKBOX,                            0, 16, 11, false},
    {"checked check box",         CheckBox,          "box",                  true,  "BUTTON", shown | BS_AUTOCHECKBOX,                            0, 16, 11, true},
    {"group check box",           GroupCheckBox,     "box",                  true,  "BUTTON", shown | BS_AUTOCHECKBOX,                            0, 16, 11, true},
    {"push button",               PushButton,        "Go",                   false, "BUTTON", shown,                                              0, 16, 42, false},
    {"multi-line check box",      MultiLineCheckBox, "box",                  true,  "BUTTON", shown | BS_MULTILINE | BS_AUTOCHECKBOX,             0, 18, 42, true},
    {"edit box",                  EditBox,           "12",                   false, "EDIT",   shown | WS_BORDER | ES_CENTER,                      0, 18, 42, false},
    {"read-only edit box",        EditBox,           "12",                   true,  "EDIT",   shown | ES_READONLY | ES_CENTER,                    0, 18, 42, false},
    {"search prompt, read-only",  EditBox,           "Enter your Search Here", true, "EDIT",  shown | ES_READONLY | ES_CENTER | WS_BORDER,        0, 18, 42, false},
    {"search prompt",             EditBox,           "Enter your Search Here", false, "EDIT", shown | WS_BORDER | ES_CENTER,                      0, 18, 42, false},
    {"near the search prompt",    EditBox,           "Enter your Search Her", true, "EDIT",   shown | ES_READONLY | ES_CENTER,                    0, 18, 42, false},
    {"page link",                 PageLink,          "see page",             true,  "EDIT",   shown | ES_READONLY | ES_CENTER,                    0, 18, 42, false},
};

} // namespace

TEST_F(RenderTest, ControlsPerKind)
{
    for (const KindCase& c : kindCases) {
        clearDisplayList(list, true);
        DisplayLine* line = addDisplayLine(list, c.kind, c.text, 0, 0, row, 42, 0, 0, c.state, 0,
                                           0, 10, -1, -1);
        renderDisplayList(list, 0, true);
        ASSERT_NE(line->pieces, nullptr) << c.name;
        ASSERT_NE(line->pieces->control, nullptr) << c.name;
        Control got = describe(line->pieces->control);
        EXPECT_EQ(got.className, c.className) << c.name;
        EXPECT_EQ(got.style, c.style) << c.name << std::hex << " got " << got.style;
        EXPECT_EQ(got.x, 10) << c.name;
        EXPECT_EQ(got.y, 30) << c.name;
        EXPECT_EQ(got.width, line->pieces->width + c.widthOverPiece) << c.name;
        EXPECT_EQ(got.height, c.height) << c.name;
        EXPECT_EQ(got.id, c.id) << c.name;
        EXPECT_EQ(got.text, c.text) << c.name;
        if (got.className == "BUTTON")
            EXPECT_EQ(SendMessageW(got.window, BM_GETCHECK, 0, 0) == BST_CHECKED, c.checked)
                << c.name;
    }
}

TEST_F(RenderTest, RuleLinesAndHiddenLinesMakeNoControls)
{
    DisplayLine* rule = add(RuleLine, "----", 0);
    DisplayLine* hidden = add(TextLine, "hidden later", 1);
    DisplayLine* shownLine = add(TextLine, "shown", 2);
    renderDisplayList(list, 0, true);
    EXPECT_EQ(rule->pieces->control, nullptr);
    EXPECT_NE(hidden->pieces->control, nullptr);
    hidden->flags &= ~lineVisible;   // hidden since the last layout
    renderDisplayList(list, 0, false);
    EXPECT_EQ(hidden->pieces->control, nullptr);
    EXPECT_NE(shownLine->pieces->control, nullptr);
    EXPECT_EQ(describe(shownLine->pieces->control).y, 30 + 2 * 16);
}

TEST_F(RenderTest, FontsFollowBoldAndUnderline)
{
    struct FontCase {
        int bold, underline;
        HFONT want;
    } cases[] = {
        {1, 1, list->boldUnderlineFont},
        {1, 0, list->boldFont},
        {0, 1, list->underlineFont},
        {0, 0, nullptr},
    };
    for (const FontCase& c : cases) {
        clearDisplayList(list, true);
        DisplayLine* line = addDisplayLine(list, TextLine, "text", 0, 0, row, 1, c.underline,
                                           c.bold, 0, 0, 0, 0, -1, -1);
        EXPECT_EQ(controlFont(list, line), c.want);
        renderDisplayList(list, 0, true);
        HFONT got = reinterpret_cast<HFONT>(SendMessageW(line->pieces->control, WM_GETFONT, 0, 0));
        EXPECT_EQ(got, c.want) << "bold " << c.bold << " underline " << c.underline;
    }
    EXPECT_NE(list->boldFont, nullptr);
    EXPECT_NE(list->underlineFont, nullptr);
    EXPECT_NE(list->boldUnderlineFont, nullptr);
    // A piece without text gets neither text nor font.
    clearDisplayList(list, true);
    DisplayLine* empty = addDisplayLine(list, TextLine, nullptr, 0, 0, row, 1, 0, 1, 0, 0, 0, 0,
                                        -1, -1);
    renderDisplayList(list, 0, true);
    ASSERT_NE(empty->pieces->control, nullptr);
    EXPECT_EQ(describe(empty->pieces->control).text, "");
    EXPECT_EQ(SendMessageW(empty->pieces->control, WM_GETFONT, 0, 0), 0);
}

TEST_F(RenderTest, MeasuringFontsAsMade)
{
    LOGFONTW font;
    ASSERT_NE(GetObjectW(state.boldFont, sizeof font, &font), 0);
    EXPECT_EQ(font.lfHeight, 15);
    EXPECT_EQ(font.lfWidth, 7);
    EXPECT_EQ(font.lfWeight, 700);
    EXPECT_EQ(font.lfUnderline, 0);
    EXPECT_EQ(font.lfPitchAndFamily, 0x30);
    EXPECT_EQ(narrow(font.lfFaceName), "Frutiger Linotype");
    ASSERT_NE(GetObjectW(state.boldUnderlineFont, sizeof font, &font), 0);
    EXPECT_EQ(font.lfUnderline, 1);
    EXPECT_EQ(font.lfWeight, 700);
    TEXTMETRICW metrics;
    ASSERT_TRUE(GetTextMetricsW(state.normalMeasureContext, &metrics));
    ASSERT_NE(GetObjectW(state.underlineFont, sizeof font, &font), 0);
    EXPECT_EQ(narrow(font.lfFaceName), "Tahoma");
    EXPECT_EQ(font.lfHeight, 15);
    EXPECT_EQ(font.lfWidth, 0);
    EXPECT_EQ(font.lfUnderline, 1);
    EXPECT_EQ(font.lfWeight, metrics.tmWeight);
    EXPECT_EQ(font.lfCharSet, metrics.tmCharSet);
    EXPECT_EQ(font.lfPitchAndFamily, metrics.tmPitchAndFamily);
    EXPECT_EQ(font.lfOutPrecision, 6);
    EXPECT_EQ(font.lfQuality, 1);
    EXPECT_FALSE(IsWindowVisible(state.boldMeasureWindow));
    EXPECT_FALSE(IsWindowVisible(state.normalMeasureWindow));
}

TEST_F(RenderTest, DropListWidthIsTheWidestOptionPlusTen)
{
    DisplayLine* line = add(DropList, nullptr, 0, 10);
    addDisplayOption(line, "abc", 0, 0, 1, 0);
    addDisplayOption(line, "abcdefgh", 0, 0, 2, 0);
    renderDisplayList(list, 0, true);
    DisplayPiece* piece = line->pieces;
    EXPECT_EQ(piece->width, 48 + 10);
    Control listBox = describe(piece->control);
    EXPECT_EQ(listBox.className, "LISTBOX");
    EXPECT_EQ(listBox.style, WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | LBS_EXTENDEDSEL |
                                 LBS_NOTIFY);
    EXPECT_EQ(listBox.x, 10);
    EXPECT_EQ(listBox.y, 30);
    EXPECT_EQ(listBox.width, 58);
    EXPECT_EQ(listBox.height, 18);
    EXPECT_EQ(listBox.id, 5);
    EXPECT_EQ(listLines(piece->control), std::vector<std::string>{"abc"});
    EXPECT_EQ(SendMessageW(piece->control, LB_GETSELCOUNT, 0, 0), 0);   // nothing highlighted
    Control button = describe(piece->control2);
    EXPECT_EQ(button.className, "BUTTON");
    EXPECT_EQ(button.text, "v");
    EXPECT_EQ(button.style, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW);
    EXPECT_EQ(button.x, 10 + 58);
    EXPECT_EQ(button.y, 30);
    EXPECT_EQ(button.width, 10);
    EXPECT_EQ(button.height, 17);
    EXPECT_EQ(button.id, 20000);
}

TEST_F(RenderTest, DropListWidthIsCapped)
{
    DisplayLine* line = add(DropList, nullptr, 0, 10);
    addDisplayOption(line, "short", 0, 0, 1, 0);
    addDisplayOption(line, "an option far too long for the room there is on the row", 0, 0, 2, 0);
    renderDisplayList(list, 0, true);
    EXPECT_EQ(line->pieces->width, 215 - 10 - 17 + 10);
}

TEST_F(RenderTest, OpeningFifteenOneLineOptionsCapsTheHeight)
{
    DisplayLine* line = add(DropList, nullptr, 0, 0);
    static char texts[15][8];
    for (int i = 0; i < 15; ++i) {
        std::snprintf(texts[i], sizeof texts[i], "opt %d", i);
        addDisplayOption(line, texts[i], 0, 0, static_cast<std::uint16_t>(100 + i), 0);
    }
    line->group = 3;
    renderDisplayList(list, 0, true);
    const DisplayOption* chosen = openDropList(&state, line);
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(chosen->elementId, 103);
    HWND listBox = line->pieces->control;
    EXPECT_EQ(heightOf(listBox), 200);
    EXPECT_EQ(listLines(listBox).size(), 15u);
    EXPECT_EQ(SendMessageW(listBox, LB_GETCURSEL, 0, 0), 3);
    EXPECT_EQ(SendMessageW(listBox, LB_GETSEL, 3, 0), 1);
    EXPECT_FALSE(IsWindowVisible(line->pieces->control2));
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(state.dropLineMap[i], i);
}

TEST_F(RenderTest, PickingEitherLineOfATwoLineOptionChoosesIt)
{
    // x 0: the list is 198 + 10 = 208 wide; the long option wraps once.
    static const char longOption[] =
        "abcdefghij abcdefghij abcdefghij abcdefghij";   // 43 characters, 258 pixels
    for (int pickedLine : {1, 2}) {
        clearDisplayList(list, true);
        DisplayLine* line = add(DropList, nullptr, 0, 0);
        addDisplayOption(line, "short", 0, 0, 1, 0);
        addDisplayOption(line, longOption, 0, 0, 2, 0);
        addDisplayOption(line, "after", 0, 0, 3, 0);
        renderDisplayList(list, 0, true);
        ASSERT_EQ(line->pieces->width, 208);
        EXPECT_EQ(openDropList(&state, line)->elementId, 1);
        HWND listBox = line->pieces->control;
        std::vector<std::string> opened = listLines(listBox);
        std::vector<std::string> expected = {"short", "abcdefghij abcdefghij abcdefghij",
                                             "   abcdefghij", "after"};
        EXPECT_EQ(opened, expected);
        EXPECT_EQ(heightOf(listBox), 4 * 18);
        pick(listBox, pickedLine);
        const DisplayOption* picked = closeDropList(&state, line);
        ASSERT_NE(picked, nullptr) << "line " << pickedLine;
        EXPECT_EQ(picked->elementId, 2) << "line " << pickedLine;
        EXPECT_EQ(line->group, 1);
        // Closed, the chosen option's two lines: 36 pixels.
        EXPECT_EQ(listLines(listBox),
                  (std::vector<std::string>{"abcdefghij abcdefghij abcdefghij", "   abcdefghij"}));
        EXPECT_EQ(heightOf(listBox), 36);
        EXPECT_TRUE(IsWindowVisible(line->pieces->control2));
        // Opened again, the chosen option's first line is highlighted.
        openDropList(&state, line);
        EXPECT_EQ(SendMessageW(listBox, LB_GETCURSEL, 0, 0), 1);
        closeDropList(&state, line);
    }
}

TEST_F(RenderTest, ClosingWithoutANewPickKeepsTheChoice)
{
    DisplayLine* line = add(DropList, nullptr, 0, 0);
    addDisplayOption(line, "one", 0, 0, 1, 0);
    addDisplayOption(line, "two", 0, 0, 2, 0);
    line->group = 1;
    renderDisplayList(list, 0, true);
    openDropList(&state, line);
    // Closed from elsewhere (another drop list tapped): the highlighted choice stays.
    const DisplayOption* kept = closeDropList(&state, line);
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->elementId, 2);
    EXPECT_EQ(line->group, 1);
    EXPECT_EQ(listLines(line->pieces->control), std::vector<std::string>{"two"});
    // A second close without an open has no map to read and changes nothing.
    pick(line->pieces->control, 0);
    EXPECT_EQ(closeDropList(&state, line), nullptr);
    EXPECT_EQ(line->group, 1);
}

TEST_F(RenderTest, OpeningWithoutMemoryLeavesTheButtonHidden)
{
    DisplayLine* line = add(DropList, nullptr, 0, 0);
    addDisplayOption(line, "one", 0, 0, 1, 0);
    addDisplayOption(line, "two", 0, 0, 2, 0);
    renderDisplayList(list, 0, true);
    for (long failAt : {1L, 2L}) {   // the scratch text, then the line map
        setAllocationFailure(failAt);
        openDropList(&state, line);
        setAllocationFailure(0);
        EXPECT_EQ(state.dropLineMap, nullptr) << failAt;
        EXPECT_FALSE(IsWindowVisible(line->pieces->control2)) << failAt;
        EXPECT_EQ(listLines(line->pieces->control), std::vector<std::string>{"one"}) << failAt;
        pick(line->pieces->control, 0);
        EXPECT_EQ(closeDropList(&state, line), nullptr) << failAt;
        EXPECT_TRUE(IsWindowVisible(line->pieces->control2)) << failAt;
    }
}

TEST_F(RenderTest, WrappedChoiceRendersAsOneListOfTwoLines)
{
    list->right = 77;   // the chosen text wraps after "abcd "
    DisplayLine* line = add(DropList, nullptr, 1, 0, 0);
    addDisplayOption(line, "abcd efghij", 0, 0, 1, 0);
    add(TextLine, "below", 3);
    renderDisplayList(list, 0, true);
    HWND listBox = line->pieces->control;
    ASSERT_NE(listBox, nullptr);
    EXPECT_EQ(line->pieces->next->control, nullptr);   // the more-line joins the list
    EXPECT_EQ(listLines(listBox), (std::vector<std::string>{"abcd ", "efghij"}));
    Control c = describe(listBox);
    EXPECT_EQ(c.y, 30 + 16);
    EXPECT_EQ(c.height, 36);

    // Scrolled so that the first line is above the view: the list is made at the second line.
    renderDisplayList(list, 2, false);
    listBox = line->pieces->control;
    ASSERT_NE(listBox, nullptr);
    EXPECT_EQ(line->pieces->control2, nullptr);
    EXPECT_EQ(listLines(listBox), std::vector<std::string>{"efghij"});
    c = describe(listBox);
    EXPECT_EQ(c.y, 30);
    EXPECT_EQ(c.height, 18);
}

TEST_F(RenderTest, DestroyingControlsClearsThem)
{
    addRows(3);
    DisplayLine* drop = add(DropList, nullptr, 3);
    addDisplayOption(drop, "one", 0, 0, 1, 0);
    renderDisplayList(list, 0, true);
    std::vector<HWND> made = controls();
    ASSERT_EQ(made.size(), 5u);
    destroyDisplayControls(list);
    EXPECT_TRUE(controls().empty());
    for (HWND window : made)
        EXPECT_FALSE(IsWindow(window));
}

TEST_F(RenderTest, ClosingReadsNoFurtherThanTheMap)
{
    // The map made for a one-line list must not answer for line 1 of another, longer list.
    DisplayLine* small = add(DropList, nullptr, 0, 0);
    addDisplayOption(small, "one", 0, 0, 1, 0);
    std::int16_t second = 2;
    DisplayLine* large = add(DropList, nullptr, second, 0);
    addDisplayOption(large, "a", 0, 0, 7, 0);
    addDisplayOption(large, "b", 0, 0, 8, 0);
    addDisplayOption(large, "c", 0, 0, 9, 0);
    renderDisplayList(list, 0, true);
    openDropList(&state, large);
    closeDropList(&state, large);
    openDropList(&state, large);   // three lines in the large list
    openDropList(&state, small);   // the map now has one line
    EXPECT_EQ(state.dropLineMap[1], 0xFF);
    pick(large->pieces->control, 2);
    EXPECT_EQ(closeDropList(&state, large), nullptr);
    EXPECT_EQ(large->group, 0);
    EXPECT_EQ(openDropList(&state, small), small->options);
    EXPECT_EQ(openDropList(&state, add(TextLine, "not a drop list", second)), nullptr);
}

namespace {

bool overlapping(const RECT& a, const RECT& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The host's children as the screen shows them: by place, handles left out, and of two that
// overlap, which lies above.
struct Shown {
    std::vector<PortableWindowInfo> windows;
    std::vector<bool> above;
    bool operator==(const Shown&) const = default;
};

Shown shownChildren(HWND host)
{
    Shown s;
    for (PortableWindowInfo w : portableSnapshot())
        if (w.parent == host) {
            w.window = nullptr;
            s.windows.push_back(w);
        }
    std::stable_sort(s.windows.begin(), s.windows.end(), [](const PortableWindowInfo& a, const PortableWindowInfo& b) {
        return a.rect.top != b.rect.top ? a.rect.top < b.rect.top : a.rect.left < b.rect.left;
    });
    for (std::size_t i = 0; i < s.windows.size(); ++i)
        for (std::size_t j = i + 1; j < s.windows.size(); ++j)
            if (overlapping(s.windows[i].rect, s.windows[j].rect))
                s.above.push_back(s.windows[i].zOrder < s.windows[j].zOrder);
    for (PortableWindowInfo& w : s.windows)
        w.zOrder = 0;
    return s;
}

struct ChangeCase {
    const char* name;
    void (*change)(DisplayList* list, DisplayLine* lines[]);
    int takenOver;   // controls the second render takes over
};

// Five lines: a check box, three texts and a push button, one row each.
const ChangeCase changeCases[] = {
    {"nothing changed", [](DisplayList*, DisplayLine*[]) {}, 5},
    {"a text changed", [](DisplayList*, DisplayLine* l[]) { setDisplayLineText(l[2], "other", 1); }, 5},
    {"a line checked", [](DisplayList*, DisplayLine* l[]) { l[0]->flags |= lineState; }, 4},
    {"a box ticked by hand",
     [](DisplayList*, DisplayLine* l[]) { SendMessageW(l[0]->pieces->control, BM_SETCHECK, BST_CHECKED, 0); }, 4},
    {"the focus on a line", [](DisplayList*, DisplayLine* l[]) { SetFocus(l[4]->pieces->control); }, 4},
    {"a line hidden", [](DisplayList*, DisplayLine* l[]) { l[1]->flags &= ~lineVisible; }, 3},
    // A new page: its texts take over the texts of the page left, the other kinds are made anew.
    {"a new page",
     [](DisplayList* list, DisplayLine*[]) {
         clearDisplayListForNextRender(list);
         addDisplayLine(list, TextLine, "a much longer text than before", 0, 0, 0, 21, 0, 0, 0, 0, 0, 0, -1, 30);
         addDisplayLine(list, TextLine, nullptr, 0, 0, 2, 22, 0, 0, 0, 0, 0, 0, -1, -1);
         addDisplayLine(list, CheckBox, "box", 0, 0, 3, 11, 0, 0, 0, 0, 0, 0, -1, -1);
     },
     2},
    {"a new page after a box opened",
     [](DisplayList* list, DisplayLine*[]) {
         clearDisplayListForNextRender(list);
         destroyKeptControls(list);
         addDisplayLine(list, TextLine, "first", 0, 0, 1, 21, 0, 0, 0, 0, 0, 0, -1, -1);
     },
     0},
    {"an edit field over the next row",
     [](DisplayList* list, DisplayLine*[]) { addDisplayLine(list, EditBox, "12", 0, 0, 1, 9, 0, 0, 0, 0, 0, 0, -1, 40); }, 4},
    // The rows an open list would cover are made anew: the list, made before them, lies above.
    {"a drop list over the rows below",
     [](DisplayList* list, DisplayLine*[]) {
         DisplayLine* drop = addDisplayLine(list, DropList, nullptr, 0, 0, 0, 9, 0, 0, 0, 0, -1, 150, -1, -1);
         addDisplayOption(drop, "ab", 0, 0, 1, 0);
     },
     1},
};

} // namespace

TEST_F(RenderTest, ARenderTakingControlsOverShowsWhatMakingThemAnewShows)
{
    for (const ChangeCase& c : changeCases) {
        clearDisplayList(list, true);
        DisplayLine* lines[5] = {
            addDisplayLine(list, CheckBox, "box", 0, 0, 0, 11, 0, 0, 0, 0, 0, 0, -1, -1),
            add(TextLine, "first", 1), add(TextLine, "second", 2), add(TextLine, "third", 3),
            addDisplayLine(list, PushButton, "push", 0, 0, 4, 12, 0, 0, 0, 0, 0, 0, -1, -1),
        };
        renderDisplayList(list, 0, true);
        std::vector<HWND> before = controls();
        c.change(list, lines);
        renderDisplayList(list, 0, true);
        std::vector<HWND> after = controls();
        int kept = 0;
        for (HWND control : after)
            kept += std::count(before.begin(), before.end(), control) ? 1 : 0;
        EXPECT_EQ(kept, c.takenOver) << c.name;
        for (HWND control : before)
            if (!std::count(after.begin(), after.end(), control))
                EXPECT_FALSE(IsWindow(control)) << c.name;
        Shown takenOver = shownChildren(state.mainWindow);
        destroyDisplayControls(list);
        SetFocus(nullptr);
        renderDisplayList(list, 0, true);
        EXPECT_TRUE(takenOver == shownChildren(state.mainWindow)) << c.name;
    }
}
