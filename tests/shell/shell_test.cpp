// The shell run end to end on the portable platform: the first screen, the places of the fixed
// controls, recording answers from page controls, Next and Back, the keypad and the About page.
#include "shell_fixture.h"

#include <climits>

#include "questionnaire/answers.h"
#include "questionnaire/pageflow.h"
#include "platform/portable/graphics.h"
#include "shell/shell.h"

namespace {

int rowsShown() { return (appState->displayList.bottom - appState->displayList.top) / appState->displayList.lineHeight; }

} // namespace

TEST_F(ShellTest, FirstScreenIsTheHomePageWithTheRootAnswered)
{
    writeDatabase(shellDatabase());
    run({[] {
        EXPECT_EQ(questionnaireState->currentPage, 9521);
        EXPECT_EQ(questionnaireState->moduleRoot, 1979);
        ASSERT_NE(questionnaireState->answers, nullptr);
        EXPECT_EQ(questionnaireState->answers->elementId, 1979u);
        EXPECT_EQ(questionnaireState->answers->value, 1.0f);
        EXPECT_EQ(questionnaireState->answers->next, nullptr) << "more than one answer";
        EXPECT_EQ(appState->viewState, HomeView);
        struct { int id; bool visible; } controls[] = {
            {PrescriptionButtonId, true}, {ConversionButtonId, true}, {SideEffectButtonId, true},
            {LogoButtonId, true}, {InfoButtonId, true}, {CloseButtonId, true},
            {NextId, false}, {BackId, false}, {RestartId, false}, {SectionSelectorId, false},
        };
        for (const auto& c : controls)
            EXPECT_EQ(windowInfo(fixedControl(c.id)).visible, c.visible) << "control " << c.id;
        EXPECT_EQ(windowText(appState->titleLabel), "Zura Management");
    }});
}

TEST_F(ShellTest, MissingStringRecordOfModule0IsReportedOnceAndTheWindowStillOpens)
{
    writeDatabase(shellDatabase(), 0);
    bool opened = false;
    run({[&] { opened = appState && appState->mainWindow && windowInfo(appState->mainWindow).visible; }});
    EXPECT_TRUE(opened);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Could not find the Hierarchy records");
    EXPECT_EQ(boxes[0].caption, "Error");
}

TEST_F(ShellTest, FixedControlsSitWhereTheScreenPutsThem)
{
    writeDatabase(shellDatabase());
    run({[] { showPage(10223); },
         [] {
             struct { const char* name; HWND window; int x, y, height; } cases[] = {
                 {"Back", appState->backButton, 168, 295, 20},
                 {"Next", appState->nextButton, 204, 295, 20},
                 {"scroll bar", appState->scrollBar, 225, 27, 263},
             };
             for (const auto& c : cases) {
                 RECT r = windowInfo(c.window).rect;
                 EXPECT_EQ(r.left, c.x) << c.name;
                 EXPECT_EQ(r.top, c.y) << c.name;
                 EXPECT_EQ(r.bottom - r.top, c.height) << c.name;
             }
             showPage(10400);
         },
         [] {
             EXPECT_EQ(windowInfo(appState->backButton).rect.left, 178) << "Back on a results page";
             EXPECT_FALSE(windowInfo(appState->nextButton).visible);
         }});
}

TEST_F(ShellTest, GroupCheckBoxUnticksItsGroupAndClearsHiddenMembers)
{
    writeDatabase(shellDatabase());
    run({[] { showPage(10223); },
         [] { tap(controlOf(10231)); },
         [] {
             // A member of the group that has no line on this page (shown elsewhere, or hidden by a
             // rule) and was chosen before.
             Answer* hidden = setAnswer(&questionnaireState->answers, 10292, 1.0f);
             hidden->ownerId = 10230;
             tap(controlOf(10232));
         },
         [] {
             EXPECT_EQ(answerOf(10231), 0.0f);
             EXPECT_EQ(answerOf(10232), 1.0f);
             EXPECT_EQ(answerOf(10292), 0.0f) << "the hidden member stays chosen";
             EXPECT_EQ(ownerOf(10232), 10230u);
             int chosen = 0;
             for (const Answer* a = questionnaireState->answers; a; a = a->next)
                 if (a->ownerId == 10230 && a->value == 1.0f)
                     ++chosen;
             EXPECT_EQ(chosen, 1);
             EXPECT_EQ(windowInfo(controlOf(10231)).check, 0);
             EXPECT_EQ(windowInfo(controlOf(10232)).check, 1);
         }});
}

TEST_F(ShellTest, ChoosingAnotherDropListOptionMovesTheAnswer)
{
    writeDatabase(shellDatabase());
    HWND list = nullptr;
    auto dropButton = [&list] {
        PortableWindowInfo l = windowInfo(list);
        for (const PortableWindowInfo& w : portableSnapshot())
            if (w.visible && w.parent == l.parent && w.className == u"BUTTON" && w.rect.left == l.rect.right &&
                w.rect.top == l.rect.top)
                return w.window;
        ADD_FAILURE() << "no drop button";
        return HWND(nullptr);
    };
    auto choose = [&](int index) {
        return std::vector<std::function<void()>>{[&] { list = controlOf(10260); tap(dropButton()); },
                                                  [&, index] { pickLine(list, index); }};
    };
    std::vector<std::function<void()>> steps = {[] { showPage(10223); }};
    for (auto& s : choose(0))
        steps.push_back(s);
    for (auto& s : choose(1))
        steps.push_back(s);
    steps.push_back([] {
        EXPECT_EQ(answerOf(10261), 0.0f);
        EXPECT_EQ(answerOf(10262), 1.0f);
        EXPECT_EQ(ownerOf(10261), 10260u);
        EXPECT_EQ(ownerOf(10262), 10260u);
    });
    run(steps);
}

TEST_F(ShellTest, EditFieldStoresItsLeadingNumber)
{
    struct Case {
        const char16_t* typed;
        float expected;
    } cases[] = {
        {u"12a", 12.0f},
        {u"7.5", 7.0f},
        {u"x12", 0.0f},
        {u"99999999999", float(INT32_MAX)},   // beyond the 32-bit range: the largest value, not garbage
    };
    writeDatabase(shellDatabase());
    std::vector<std::function<void()>> steps = {[] { showPage(10223); }};
    for (const Case& c : cases) {
        steps.push_back([c] { typeInto(controlOf(10270), c.typed); });
        steps.push_back([c] {
            EXPECT_EQ(answerOf(10270), c.expected) << "typed " << windowText(controlOf(10270));
            SendMessageW(controlOf(10270), EM_SETSEL, 0, -1);
            typeInto(controlOf(10270), u"\b");
        });
    }
    run(steps);
}

TEST_F(ShellTest, EmptiedEditFieldStoresZero)
{
    writeDatabase(shellDatabase());
    run({[] { showPage(10223); },
         [] { typeInto(controlOf(10270), u"12a"); },
         [] {
             EXPECT_EQ(answerOf(10270), 12.0f);
             typeInto(controlOf(10270), u"\b\b\b");
         },
         [] {
             EXPECT_EQ(windowText(controlOf(10270)), "");
             EXPECT_EQ(answerOf(10270), 0.0f) << "an empty field";
         }});
}

TEST_F(ShellTest, KeypadTypesIntoTheLastFocusedField)
{
    writeDatabase(shellDatabase());
    auto key = [](int id) { return [id] { tap(GetDlgItem(appState->keypadDialog, id)); }; };
    HWND firstKeypad = nullptr;
    run({[] { showPage(10223); },
         [] { tap(controlOf(10270)); },
         [&] {
             ASSERT_NE(appState->keypadDialog, nullptr);
             firstKeypad = appState->keypadDialog;
             tap(GetDlgItem(appState->keypadDialog, 1015));   // "<" on the empty field
         },
         [] {
             EXPECT_EQ(windowText(controlOf(10270)), "") << "\"<\" on an empty field";
             EXPECT_EQ(answerOf(10270), 0.0f);
         },
         key(1006), key(1007), key(1017), key(1010),
         [] {
             EXPECT_EQ(windowText(controlOf(10270)), "12.5");
             EXPECT_EQ(answerOf(10270), 12.0f);
             tap(controlOf(10271));
         },
         [&] {
             EXPECT_EQ(appState->keypadDialog, firstKeypad) << "a second keypad opened";
             EXPECT_EQ(appState->keypadTarget, controlOf(10271));
         },
         key(1008),
         [] {
             EXPECT_EQ(windowText(controlOf(10271)), "3");
             EXPECT_EQ(windowText(controlOf(10270)), "12.5");
         },
         key(1018),
         [] {
             EXPECT_EQ(appState->keypadDialog, nullptr);
             tap(controlOf(10270));
         },
         [] { EXPECT_NE(appState->keypadDialog, nullptr) << "no keypad after Close"; }});
}

TEST_F(ShellTest, NextIsHiddenOnPagesWithoutAWayOn)
{
    writeDatabase(shellDatabase());
    run({[] { showPage(11030); },
         [] {
             EXPECT_FALSE(windowInfo(appState->nextButton).visible) << "page 11030";
             showPage(10223);
         },
         [] {
             EXPECT_TRUE(windowInfo(appState->nextButton).visible);
             tap(controlOf(10290));   // a link line carries the id of the page it opens
         },
         [] {
             EXPECT_EQ(questionnaireState->currentPage, 10290);
             EXPECT_FALSE(windowInfo(appState->nextButton).visible) << "page opened by a link";
             tap(appState->backButton);
         },
         [] {
             EXPECT_EQ(questionnaireState->currentPage, 10223);
             EXPECT_TRUE(windowInfo(appState->nextButton).visible) << "after Back";
         }});
}

TEST_F(ShellTest, RequiredElementRefusesNextUnlessAllItsLinesAreHidden)
{
    writeDatabase(shellDatabase());
    run({[] { showPage(10300); },
         [] { tap(appState->nextButton); },
         [this] {
             ASSERT_EQ(boxes.size(), 1u);
             EXPECT_EQ(boxes[0].text, "You must select an option to continue.");
             EXPECT_EQ(boxes[0].caption, "ERROR");
             EXPECT_EQ(questionnaireState->currentPage, 10300);
             for (DisplayLine* l = appState->displayList.head; l; l = l->next)
                 if (l->id == 10240)
                     l->flags &= std::uint8_t(~lineVisible);
             tap(appState->nextButton);
         },
         [this] {
             EXPECT_EQ(boxes.size(), 1u) << "a hidden element was still required";
             EXPECT_EQ(questionnaireState->currentPage, 11030);
         }});
}

TEST_F(ShellTest, StartingAModuleDropsTheAnswersOfTheOthers)
{
    writeDatabase(shellDatabase());
    run({[] { tap(appState->sideEffectButton); },
         [] {
             EXPECT_EQ(questionnaireState->currentPage, 11220);
             tap(controlOf(11221));
         },
         [] {
             EXPECT_EQ(answerOf(11221), 1.0f);
             tap(appState->backButton);
         },
         [] { tap(appState->prescriptionButton); },
         [] {
             bool present = true;
             answerOf(11221, &present);
             EXPECT_FALSE(present) << "the side effect leaked into the prescription module";
             answerOf(9526, &present);
             EXPECT_FALSE(present);
             EXPECT_EQ(answerOf(1979), 1.0f);
             EXPECT_EQ(answerOf(9523), 1.0f);
         }});
}

TEST_F(ShellTest, ResultsTitleNamesTheFirstDrugOfTheList)
{
    writeDatabase(shellDatabase());
    run({[] {
             setAnswer(&questionnaireState->answers, 9523, 1.0f);
             setAnswer(&questionnaireState->answers, 13087, 1.0f);
             setAnswer(&questionnaireState->answers, 2081, 1.0f);
             showPage(10400);
         },
         [] { EXPECT_EQ(windowText(appState->titleLabel), "Recommend: Morphine"); }});
}

TEST_F(ShellTest, LongPageTitleIsCutToTheTitleStrip)
{
    writeDatabase(shellDatabase());
    run({[] { showPage(10600); },
         [] {
             std::string title = windowText(appState->titleLabel);
             EXPECT_EQ(title.size(), 99u);
             EXPECT_EQ(longTitle().compare(0, title.size(), title), 0) << title;
         }});
}

TEST_F(ShellTest, ScrollingMovesTheFirstRow)
{
    writeDatabase(shellDatabase());
    run({[] { showPage(10500); },
         [] {
             EXPECT_EQ(rowsShown(), 16);
             EXPECT_TRUE(windowInfo(appState->scrollBar).visible);
             scrollBy(SB_THUMBTRACK, 3);
         },
         [] {
             EXPECT_EQ(appState->displayList.firstRow, 3);
             scrollBy(SB_PAGEUP);
         },
         [] {
             EXPECT_EQ(appState->displayList.firstRow, 0) << "page up from row 3";
             scrollBy(SB_LINEUP);
         },
         [] {
             EXPECT_EQ(appState->displayList.firstRow, 0) << "line up at the top";
             scrollBy(SB_PAGEDOWN);
         },
         [] { EXPECT_EQ(appState->displayList.firstRow, 16); }});
}

TEST_F(ShellTest, AboutPageHasThirteenRowsAndTheBoldSentenceFlowsOn)
{
    writeDatabase(shellDatabase());
    run({[] { tap(appState->infoButton); },
         [] {
             EXPECT_EQ(windowText(appState->titleLabel), "About Quellix");
             bool used[13] = {};
             int maxRow = -1;
             for (DisplayLine* l = appState->displayList.head; l; l = l->next) {
                 ASSERT_GE(l->row, 0);
                 ASSERT_LT(l->row, 13);
                 used[l->row] = true;
                 maxRow = l->row > maxRow ? l->row : maxRow;
             }
             EXPECT_EQ(maxRow, 12);
             for (int row : {1, 5, 7, 9, 11})
                 EXPECT_FALSE(used[row]) << "row " << row;
             DisplayLine* first = nullptr;
             DisplayLine* bold = nullptr;
             for (DisplayLine* l = appState->displayList.head; l; l = l->next)
                 if (l->row == 6 && !first)
                     first = l;
                 else if (l->row == 6 && (l->flags & lineBold) && !bold)
                     bold = l;
             ASSERT_TRUE(first && bold);
             DisplayPiece* last = first->pieces;
             while (last && last->next)
                 last = last->next;
             ASSERT_TRUE(last && bold->pieces);
             EXPECT_EQ(bold->pieces->row, last->row) << "the bold sentence starts on a new screen line";
             EXPECT_GT(bold->pieces->x, last->x);
         }});
}

TEST_F(ShellTest, RunsTwiceInOneProcessAndKeepsToOneInstance)
{
    writeDatabase(shellDatabase());
    for (int i = 0; i < 2; ++i) {
        run({[] { EXPECT_EQ(questionnaireState->currentPage, 9521); }});
        EXPECT_EQ(appState, nullptr);
        EXPECT_EQ(questionnaireState, nullptr);
    }
    int second = -1;
    run({[&] {
        AppState* first = appState;
        QuestionnaireState* firstQ = questionnaireState;
        // A second start while the window exists ends at once without touching this run.
        appState = nullptr;
        questionnaireState = nullptr;
        static WCHAR none[1] = {0};
        second = startUp(portableProgramInstance(), nullptr, none, SW_SHOW);
        EXPECT_EQ(appState, nullptr) << "the second start kept its state";
        appState = first;
        questionnaireState = firstQ;
    }});
    EXPECT_EQ(second, 0);
}

namespace {

std::vector<COLORREF> titleStrip()
{
    int width = 0, height = 0;
    const COLORREF* pixels = nullptr;
    std::vector<COLORREF> strip;
    if (!portableWindowPixels(appState->mainWindow, &width, &height, &pixels) || width < 240 || height < 26)
        return strip;
    for (int y = 0; y < 26; ++y)
        strip.insert(strip.end(), pixels + y * width, pixels + y * width + 240);
    return strip;
}

void repaint(int top)
{
    RECT r = {0, top, 240, 320};
    InvalidateRect(appState->mainWindow, &r, FALSE);
    UpdateWindow(appState->mainWindow);
}

} // namespace

TEST_F(ShellTest, RepaintBelowTheTitleStripLeavesItAlone)
{
    writeDatabase(shellDatabase());
    run({[] {
        repaint(0);
        std::vector<COLORREF> header = titleStrip();
        ASSERT_FALSE(header.empty());
        // Draw over the strip, then repaint only below it: the drawing must stay.
        HDC screen = GetDC(appState->mainWindow);
        HDC memory = CreateCompatibleDC(screen);
        HGDIOBJ previous = SelectObject(memory, appState->logoBitmap);
        BitBlt(screen, 0, 0, 240, 26, memory, 0, 0, SRCCOPY);
        SelectObject(memory, previous);
        DeleteDC(memory);
        ReleaseDC(appState->mainWindow, screen);
        std::vector<COLORREF> drawn = titleStrip();
        ASSERT_NE(drawn, header) << "the drawing did not change the strip";
        repaint(27);
        EXPECT_EQ(titleStrip(), drawn) << "a repaint below y 26 redrew the strip";
        repaint(26);
        EXPECT_EQ(titleStrip(), header) << "a repaint from y 26 left the strip as drawn";
    }});
}
