// The main window's procedure: the program's only event handler. Commands of the fixed controls,
// control notifications of the page lines, painting of the title strip and the owner-drawn
// buttons, scrolling of the view, and the end of the program.
#include "display/layout.h"
#include "display/render.h"
#include "dosecalc/conversion.h"
#include "dosecalc/conversion_report.h"
#include "dosecalc/conversion_sections.h"
#include "dosecalc/explanation.h"
#include "platform/winapi.h"
#include "questionnaire/answers.h"
#include "questionnaire/pageflow.h"
#include "reports/reports.h"
#include "shell/shell.h"
#include "shell/state.h"

namespace {

const WCHAR requiredMessage[] = TEXT("You must select an option to continue.");
const WCHAR requiredCaption[] = TEXT("ERROR");

bool answered(std::uint32_t id) { return answerValue(questionnaireState->answers, id) != 0; }

int rowsPerPage()
{
    const DisplayList* list = &appState->displayList;
    return (list->bottom - list->top) / list->lineHeight;
}

void rerender()
{
    renderDisplayList(&appState->displayList, 0, true, false);
    updateScrollBar();
}

void clearForRebuild()
{
    clearDisplayListForNextRender(&appState->displayList);
    appState->displayList.firstRow = 0;
}

// An element whose lines an input check has hidden cannot be answered by the user, so it is
// not required: counting it would refuse Next for good.
bool shownOnPage(std::uint32_t id)
{
    bool hasLines = false;
    for (const DisplayLine* l = appState->displayList.head; l; l = l->next) {
        if (l->id != id)
            continue;
        if (l->flags & lineVisible)
            return true;
        hasLines = true;
    }
    return !hasLines;
}

bool requiredAnswered()
{
    for (const Answer* a = questionnaireState->requiredList; a; a = a->next)
        if (shownOnPage(a->elementId) && countChosen(questionnaireState->answers, a->elementId) == 0)
            return false;
    return true;
}

void onNext()
{
    if (appState->viewState == HomeView) {
        appState->viewState = ModuleView;
        showScreen(RebuildScreen, nullptr);
        return;
    }
    if (!requiredAnswered()) {
        MessageBoxW(appState->mainWindow, requiredMessage, requiredCaption, MB_OK);
        return;
    }
    if (goNext())
        showScreen(RebuildScreen, nullptr);
}

void onBack()
{
    if (appState->viewState == AboutView) {
        appState->viewState = HomeView;
    } else if (appState->viewState == ExplanationView) {
        appState->viewState = ModuleView;
    } else {
        appState->pageLinkOpen = 0;
        if (!goBack()) {
            // Back from a module's first page: the home page, whose page is 9521, so that the
            // checks run on showing it are those of the home page, not of the page just left.
            appState->viewState = HomeView;
            questionnaireState->currentPage = 9521;
        }
    }
    showScreen(RebuildScreen, nullptr);
}

void onSectionChange()
{
    if (answered(9523)) {
        clearForRebuild();
        buildPrescriptionReport();
    } else if (appState->viewState == ExplanationView) {
        fillExplanationSections();
        clearForRebuild();
        buildExplanationPage();
    } else if (answered(9524)) {
        fillConversionSections(false);
        clearForRebuild();
        buildConversionReport();
    } else if (answered(9526)) {
        clearForRebuild();
        buildSideEffectReport();
    } else {
        return;
    }
    rerender();
}

void openExplanation()
{
    appState->viewState = ExplanationView;
    clearForRebuild();
    SendMessageW(appState->sectionSelector, CB_SETCURSEL, 0, 0);
    fillExplanationSections();
    buildExplanationPage();
    rerender();
}

void chooseConversionOption(int option)
{
    appState->selectedOption = option;
    computeDoseConversion(option);
    SendMessageW(appState->sectionSelector, CB_SETCURSEL, 1, 0);
    fillConversionSections(false);
    clearForRebuild();
    buildConversionReport();
    rerender();
}

// A notification from the control of a display line. Returns whether it was handled.
bool onLineNotification(HWND control, int notification)
{
    DisplayLine* line = findDisplayLineByControl(&appState->displayList, control);
    if (!line)
        return false;
    if (line->kind == PageLink) {
        if (notification == EN_SETFOCUS && !appState->pageLinkOpen) {
            openPageLink(line->id);
            appState->pageLinkOpen = 1;
            showScreen(RebuildScreen, nullptr);
        }
        return false;
    }
    bool recorded = recordControl(control, notification);
    if (line->kind == EditBox) {
        onEditNotification(line, control, notification);
    } else if (line->kind == DropList) {
        if ((notification == 0 || notification == 1) && !appState->openDropLine)
            showScreen(RecheckScreen, line);
    } else if (answered(9524) && line->tag == 1 && line->tag2 == 0) {
        openExplanation();
    } else if (answered(9524) && line->id >= 1 && line->id <= 6) {
        chooseConversionOption(line->id);
    } else {
        showScreen(RecheckScreen, line);
    }
    syncCheckStates(&appState->displayList);
    return recorded;
}

bool onCommand(HWND window, WPARAM wParam, LPARAM lParam)
{
    int id = LOWORD(wParam);
    int notification = HIWORD(wParam);
    switch (id) {
    case CloseCommand:
        SendMessageW(window, WM_ACTIVATE, WA_INACTIVE, 0);
        SendMessageW(window, WM_CLOSE, 0, 0);
        return true;
    case NextId:
        onNext();
        return true;
    case BackId:
        onBack();
        return true;
    case RestartId:
        restartQuestionnaire();
        appState->viewState = HomeView;
        showScreen(RebuildScreen, nullptr);
        return true;
    case SectionSelectorId:
        if (notification == CBN_SELCHANGE)
            onSectionChange();
        return true;
    case CloseButtonId:
        DestroyWindow(window);
        return true;
    case PrescriptionButtonId:
    case ConversionButtonId:
    case SideEffectButtonId:
        appState->viewState = ModuleView;
        startModule(id);
        showScreen(RebuildScreen, nullptr);
        return true;
    case InfoButtonId:
        appState->viewState = AboutView;
        showScreen(RebuildScreen, nullptr);
        return true;
    default:
        return onLineNotification(reinterpret_cast<HWND>(lParam), notification);
    }
}

void copyBitmap(HDC target, HBITMAP bitmap, int width, int height)
{
    HDC memory = CreateCompatibleDC(target);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(target, 0, 0, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
}

LRESULT onPaint(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    RECT update;
    if (!GetUpdateRect(window, &update, FALSE) || update.top > 26)
        return DefWindowProcW(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    HDC target = reinterpret_cast<HDC>(wParam);
    bool own = !target;
    if (own)
        target = GetDC(window);
    copyBitmap(target, appState->headerBitmap, 240, 26);
    if (own)
        ReleaseDC(window, target);
    EndPaint(window, &paint);
    return 0;
}

LRESULT onDrawItem(const DRAWITEMSTRUCT* item)
{
    switch (item->CtlID) {
    case PrescriptionButtonId:
    case ConversionButtonId:
    case SideEffectButtonId:
        copyBitmap(item->hDC, appState->moduleButtonBitmaps[item->CtlID - PrescriptionButtonId], 230, 25);
        break;
    case LogoButtonId:
        copyBitmap(item->hDC, appState->logoBitmap, 140, 94);
        break;
    default:
        copyBitmap(item->hDC, appState->dropButtonBitmaps[(item->itemState & ODS_SELECTED) ? 1 : 0], 10, 16);
        break;
    }
    return TRUE;
}

void onVerticalScroll(WPARAM wParam)
{
    DisplayList* list = &appState->displayList;
    int first = list->firstRow;
    int rows = rowsPerPage();
    int delta = 0;
    switch (LOWORD(wParam)) {
    case SB_LINEUP:
        delta = first == 0 ? 0 : -1;
        break;
    case SB_LINEDOWN:
        delta = first >= list->rowCount - rows ? 0 : 1;
        break;
    case SB_PAGEUP:
        delta = -rows > -first ? -rows : -first;
        break;
    case SB_PAGEDOWN: {
        int rest = list->rowCount - rows - first;
        delta = rows < rest ? rows : rest;
        break;
    }
    case SB_THUMBTRACK:
        delta = int(HIWORD(wParam)) - first;
        break;
    default:
        break;
    }
    if (delta != 0) {
        renderDisplayList(list, delta, false, false);
        updateScrollBar();
    }
}

} // namespace

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ACTIVATE:
        SHFullScreen(window, SHFS_HIDETASKBAR);
        SHFullScreen(window, SHFS_HIDESIPBUTTON);
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_PAINT:
        return onPaint(window, message, wParam, lParam);
    case WM_DRAWITEM:
        return onDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_VSCROLL:
        onVerticalScroll(wParam);
        return 0;
    case WM_DESTROY:
        if (appState)
            clearDisplayList(&appState->displayList, false);
        tearDown();
        PostQuitMessage(0);
        return 0;
    case WM_COMMAND:
        if (appState && questionnaireState && onCommand(window, wParam, lParam))
            return 0;
        return DefWindowProcW(window, message, wParam, lParam);
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}
