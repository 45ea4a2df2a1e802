// Building the screen for the current view: the home page, the About page, a questionnaire page
// or a results page with its report; the title strip and the scroll bar.
#include "dbfile/text.h"
#include "dbfile/textbuilder.h"
#include "display/layout.h"
#include "display/render.h"
#include "display/pagebuilder.h"
#include "dosecalc/conversion.h"
#include "questionnaire/answers.h"
#include "questionnaire/elements.h"
#include "questionnaire/pageflow.h"
#include "reports/reports.h"
#include "rules/rules.h"
#include "shell/shell.h"
#include "shell/state.h"

namespace {

constexpr int titleSize = pageTitleCapacity;   // the page builder writes page titles here

// Results titles of the prescription module: the first answered drug names the recommendation.
struct DrugTitle {
    std::uint16_t id;
    const char* name;
};
const DrugTitle drugTitles[] = {
    {13923, "NSAID"},    {13922, "Acetaminophen"}, {2081, "Morphine"},  {2083, "Fentanyl"},
    {13087, "Hydrocodone"}, {13088, "Oxycodone"},  {13089, "Morphine"}, {2082, "Hydromorphone"},
};

const std::uint16_t pagesWithoutNext[] = {11030, 11070, 11442, 12813, 13924};

bool answered(std::uint32_t id) { return answerValue(questionnaireState->answers, id) != 0; }

void show(HWND window, bool visible) { ShowWindow(window, visible ? SW_SHOW : SW_HIDE); }

// Back sits left of Next on questionnaire pages and takes Next's place on results pages.
void placeBackButton(bool resultsPage)
{
    RECT frame, button;
    GetWindowRect(appState->mainWindow, &frame);
    GetWindowRect(appState->backButton, &button);
    int width = frame.right - frame.left, height = frame.bottom - frame.top;
    int w = button.right - button.left, h = button.bottom - button.top;
    int x = resultsPage ? width - 2 * (w - 2) : width - 2 * (w + 3);
    MoveWindow(appState->backButton, x, height - h - 5, w, h, TRUE);
}

void showHomeControls(bool home)
{
    show(appState->prescriptionButton, home);
    show(appState->conversionButton, home);
    show(appState->sideEffectButton, home);
    show(appState->logoButton, home);
}

bool isResultsPage(int style, int elementClass) { return style == 1 || elementClass == 7; }

// Runs the module's rules and appends its report below the page's rows.
void showResults(char* title)
{
    releaseSectionLists(appState);
    if (answered(9523)) {
        runPrescriptionRules();
        buildPrescriptionReport();
        resultsTitle(title, titleSize);
        show(appState->sectionSelector, true);
    } else if (answered(9524)) {
        textCopy(title, titleSize, "Dose Conversion");
        SendMessageW(appState->sectionSelector, CB_SETCURSEL, 0, 0);
        computeDoseConversion(-1);
        show(appState->sectionSelector, true);
    } else if (answered(9526)) {
        runSideEffectRules();
        buildSideEffectReport();
        textCopy(title, titleSize, "Recommend");
        show(appState->sectionSelector, true);
    }
    placeBackButton(true);
    show(appState->nextButton, false);
}

void rebuildScreen()
{
    QuestionnaireState* q = questionnaireState;
    DisplayList* list = &appState->displayList;
    releaseList(&q->firedRules);
    closeKeypad();
    clearDisplayListForNextRender(list);
    list->firstRow = 0;

    char title[titleSize] = "";
    bool built = false;
    std::uint8_t style = 0, elementClass = 0;
    if (appState->viewState == HomeView) {
        show(appState->backButton, false);
        show(appState->nextButton, false);
        show(appState->restartButton, false);
        show(appState->infoButton, true);
        showHomeControls(true);
        textCopy(title, titleSize, "Zura Management");
    } else if (appState->viewState == AboutView) {
        showHomeControls(false);
        show(appState->nextButton, false);
        show(appState->restartButton, false);
        show(appState->infoButton, false);
        show(appState->backButton, true);
        textCopy(title, titleSize, "About Quellix");
        buildAboutPage();
    } else {
        showHomeControls(false);
        show(appState->infoButton, false);
        show(appState->backButton, true);
        show(appState->nextButton, true);
        show(appState->restartButton, true);
        buildPage(q->currentPage, &style, &elementClass, title);
        built = true;
    }

    if (built && isResultsPage(style, elementClass)) {
        showResults(title);
    } else {
        show(appState->sectionSelector, false);
        placeBackButton(false);
        checkPage(0, &q->firedRules, &q->answers, q->currentPage, 1);
        if (pageHasNoNext(q->currentPage) || appState->pageLinkOpen)
            show(appState->nextButton, false);
        appState->openDropLine = nullptr;
    }
    setTitle(title);
    renderDisplayList(list, 0, true, false);
    updateScrollBar();
}

void recheckScreen(DisplayLine* line)
{
    QuestionnaireState* q = questionnaireState;
    DisplayList* list = &appState->displayList;
    releaseList(&q->firedRules);
    showAllDisplayLines(list);
    checkPage(line ? line->id : 0, &q->firedRules, &q->answers, q->currentPage, 3);
    for (DisplayLine* l = list->head; l; l = l->next) {
        if (l->kind != GroupCheckBox && l->kind != CheckBox)
            continue;
        if (answered(l->id))
            l->flags |= lineState;
        else
            l->flags &= std::uint8_t(~lineState);
    }
    renderDisplayList(list, 0, true, false);
    updateScrollBar();
}

} // namespace

const char* resultsTitle(char* buffer, int size)
{
    const char* name = "";
    for (const DrugTitle& drug : drugTitles) {
        if (answered(drug.id)) {
            name = drug.name;
            break;
        }
    }
    TextBuilder title = beginText(buffer, size);
    textAppend(&title, "Recommend: ");
    textAppend(&title, name);
    return buffer;
}

void visitResultsTitleDrugs(void (*visit)(std::uint16_t id, void* data), void* data)
{
    for (const DrugTitle& drug : drugTitles)
        visit(drug.id, data);
}

void visitPagesWithoutNext(void (*visit)(std::uint16_t id, void* data), void* data)
{
    for (std::uint16_t p : pagesWithoutNext)
        visit(p, data);
}

bool pageHasNoNext(unsigned page)
{
    for (std::uint16_t p : pagesWithoutNext)
        if (p == page)
            return true;
    return false;
}

void showScreen(int mode, DisplayLine* line)
{
    if (mode == RebuildScreen)
        rebuildScreen();
    else if (mode == RecheckScreen)
        recheckScreen(line);
    else
        updateScrollBar();
}

void setTitle(const char* text)
{
    WCHAR wide[titleSize];
    widenTextBounded(wide, titleSize, text);
    SendMessageW(appState->titleLabel, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide));
}

void updateScrollBar()
{
    const DisplayList* list = &appState->displayList;
    int rowsPerPage = (list->bottom - list->top) / list->lineHeight;
    if (list->rowCount - rowsPerPage < 1) {
        ShowWindow(appState->scrollBar, SW_HIDE);
        return;
    }
    ShowWindow(appState->scrollBar, SW_SHOW);
    SCROLLINFO info = {};
    info.cbSize = 28;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = list->rowCount - 1;
    info.nPage = UINT(rowsPerPage);
    info.nPos = list->firstRow;
    SetScrollInfo(appState->scrollBar, SB_CTL, &info, TRUE);
}
