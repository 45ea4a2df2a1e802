// Start-up and teardown: the two state records, the databases, fonts and measuring contexts,
// bitmaps, the single main window with its fixed controls, the first screen, the message loop.
#include <cstring>

#include "dbfile/heap.h"
#include "dbfile/paths.h"
#include "dbfile/records.h"
#include "dbfile/text.h"
#include "display/fonts.h"
#include "platform/winapi.h"
#include "questionnaire/answers.h"
#include "questionnaire/textlist.h"
#include "shell/shell.h"
#include "shell/state.h"

namespace {

constexpr int nameSize = 100;

void showStartupError(const char* text, const char* caption)
{
    WCHAR wideText[nameSize];
    WCHAR wideCaption[nameSize];
    widenTextBounded(wideText, nameSize, text);
    widenTextBounded(wideCaption, nameSize, caption);
    MessageBoxW(nullptr, wideText, wideCaption, MB_OK);
}

struct ChildControl {
    HWND AppState::*field;
    LPCWSTR className;
    LPCWSTR text;
    DWORD style;
    int x, y, width, height;   // negative x, y, height: counted from W or H
    int id;
};

// Positions relative to the main window; W and H stand for its width and height.
enum : int { FromW = 0x4000, FromH = 0x8000 };

const ChildControl childControls[] = {
    //  field                            class               text             style       x             y             w    h            id
    {&AppState::restartButton,       TEXT("button"),     TEXT("Restart"), 0x50000000, 2,            FromH | 25,   50,  20,          RestartId},
    {&AppState::sectionSelector,     TEXT("COMBOBOX"),   TEXT(""),        0x50000003, 55,           FromH | 25,   120, 200,         SectionSelectorId},
    {&AppState::backButton,          TEXT("button"),     TEXT("Back"),    0x50000000, FromW | 72,   FromH | 25,   33,  20,          BackId},
    {&AppState::nextButton,          TEXT("button"),     TEXT("Next"),    0x50000000, FromW | 36,   FromH | 25,   33,  20,          NextId},
    {&AppState::logoButton,          TEXT("button"),     TEXT(""),        0x5000000B, 50,           30,           140, 94,          LogoButtonId},
    {&AppState::prescriptionButton,  TEXT("button"),     TEXT(""),        0x5000000B, 5,            140,          230, 25,          PrescriptionButtonId},
    {&AppState::conversionButton,    TEXT("button"),     TEXT(""),        0x5000000B, 5,            170,          230, 25,          ConversionButtonId},
    {&AppState::sideEffectButton,    TEXT("button"),     TEXT(""),        0x5000000B, 5,            200,          230, 25,          SideEffectButtonId},
    {&AppState::infoButton,          TEXT("button"),     TEXT("Info"),    0x50000000, 2,            FromH | 25,   50,  20,          InfoButtonId},
    {&AppState::scrollBar,           TEXT("SCROLLBAR"),  nullptr,         0x50000001, FromW | 15,   27,           15,  FromH | 57,  ScrollBarId},
    {&AppState::closeButton,         TEXT("BUTTON"),     TEXT("X"),       0x50000000, FromW | 15,   3,            12,  16,          CloseButtonId},
    {&AppState::titleLabel,          TEXT("STATIC"),     TEXT(""),        0x50000000, 30,           3,            195, 16,          0},
};

int resolve(int value, int base)
{
    if (value & FromW)
        return base - (value & 0xFFF);
    if (value & FromH)
        return base - (value & 0xFFF);
    return value;
}

void createChildControls(int width, int height)
{
    for (const ChildControl& c : childControls) {
        int x = resolve(c.x, width);
        int y = resolve(c.y, height);
        int h = resolve(c.height, height);
        appState->*(c.field) = CreateWindowExW(0, c.className, c.text, c.style, x, y, c.width, h, appState->mainWindow,
                                               reinterpret_cast<HMENU>(std::intptr_t(c.id)), appState->instance, nullptr);
        if (c.field == &AppState::nextButton)
            appState->viewState = HomeView;
        if (c.field == &AppState::infoButton)
            fetchMeasureContexts(appState);
    }
}

// The records read at start-up hold everything the modules show, their warnings and prompts
// among them: a read that found nothing (it may have met a passing shortage of memory) is made
// once more, so that a dropped allocation does not silently take a whole module's texts.
DbRecord* readKeptRecord(std::uint8_t type, std::uint16_t module, const char* path)
{
    DbRecord* record = readRecord(type, module, 0, 0, 0, path);
    return record ? record : readRecord(type, module, 0, 0, 0, path);
}

} // namespace

bool loadDatabases()
{
    appState->pageLinkOpen = 0;
    appState->keypadDialog = nullptr;
    appState->dropLineMap = nullptr;

    // The fonts, the two hidden measuring windows and their contexts.
    createDisplayFonts(appState);

    releaseSectionLists(appState);
    appState->doseRangeRecord = readKeptRecord(1, 0, contentDatabasePath);
    appState->conversionRecord = readKeptRecord(2, 0, contentDatabasePath);
    buildDoseRangeIndex(&appState->doseRangeIndex, appState->doseRangeRecord);
    // Indexed now, so that results pages find their citations without walking the record.
    readIndexedReferences(&appState->referenceIndex);
    releaseConversionLists(appState);
    citedReferences = nullptr;

    QuestionnaireState* q = questionnaireState;
    q->currentPage = 0;
    q->moduleRoot = 0;
    q->nextPage = 0;
    releaseList(&q->answers);
    releaseList(&q->firedRules);
    releaseList(&q->history);
    for (int m = 0; m < 10; ++m) {
        q->hierarchyRecords[m] = nullptr;
        q->stringRecords[m] = nullptr;
    }
    for (int m = 0; m < 10; ++m) {
        q->hierarchyRecords[m] = readKeptRecord(1, std::uint16_t(m), displayDatabasePath);
        q->stringRecords[m] = readKeptRecord(2, std::uint16_t(m), displayDatabasePath);
    }
    if (!q->hierarchyRecords[0] || !q->stringRecords[0]) {
        showStartupError("Could not find the Hierarchy records", "Error");
        return false;
    }
    // Without memory for it the lookups search the records instead.
    buildElementIndex(&q->elementIndex, q->hierarchyRecords);
    return true;
}

bool createMainWindow(HINSTANCE instance, int showMode)
{
    appState->instance = instance;
    WCHAR className[nameSize];
    WCHAR title[nameSize];
    if (LoadStringW(instance, ClassString, className, nameSize) <= 0 || LoadStringW(instance, TitleString, title, nameSize) <= 0)
        return false;

    HWND running = FindWindowW(className, title);
    if (running) {
        SetForegroundWindow(reinterpret_cast<HWND>(reinterpret_cast<std::uintptr_t>(running) | 1));
        return false;
    }

    WNDCLASSW windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = mainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IconResource));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = className;
    RegisterClassW(&windowClass);

    HWND window = CreateWindowExW(0, className, title, WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                                  GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, instance, nullptr);
    if (!window)
        return false;
    SHFullScreen(window, SHFS_HIDETASKBAR);
    SHFullScreen(window, SHFS_HIDESIPBUTTON);
    RECT frame;
    GetWindowRect(window, &frame);
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    ShowWindow(window, showMode);
    UpdateWindow(window);
    appState->mainWindow = window;

    createChildControls(width, height);
    initDisplayList(appState);

    QuestionnaireState* q = questionnaireState;
    q->moduleRoot = 1979;
    setAnswer(&q->answers, 1979, 1.0f);
    q->currentPage = 9521;
    showScreen(RebuildScreen, nullptr);
    return true;
}

int startUp(HINSTANCE instance, HINSTANCE, LPWSTR, int showMode)
{
    appState = static_cast<AppState*>(LocalAlloc(LPTR, sizeof(AppState)));
    questionnaireState = static_cast<QuestionnaireState*>(LocalAlloc(LPTR, sizeof(QuestionnaireState)));
    if (!appState || !questionnaireState) {
        LocalFree(appState);
        LocalFree(questionnaireState);
        appState = nullptr;
        questionnaireState = nullptr;
        return 0;
    }
    if (loadDatabases()) {
        appState->dropButtonBitmaps[0] = LoadBitmapW(instance, MAKEINTRESOURCEW(DropButtonBitmap));
        appState->dropButtonBitmaps[1] = LoadBitmapW(instance, MAKEINTRESOURCEW(DropButtonPressedBitmap));
        appState->headerBitmap = LoadBitmapW(instance, MAKEINTRESOURCEW(HeaderBitmap));
        appState->moduleButtonBitmaps[0] = LoadBitmapW(instance, MAKEINTRESOURCEW(PrescriptionBitmap));
        appState->moduleButtonBitmaps[1] = LoadBitmapW(instance, MAKEINTRESOURCEW(ConversionBitmap));
        appState->moduleButtonBitmaps[2] = LoadBitmapW(instance, MAKEINTRESOURCEW(SideEffectBitmap));
        appState->logoBitmap = LoadBitmapW(instance, MAKEINTRESOURCEW(LogoBitmap));
    }
    if (!createMainWindow(instance, showMode)) {
        // Another copy runs, or no window could be made: release what this start took.
        tearDown();
        return 0;
    }
    HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(AcceleratorTable));
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0)) {
        if (!TranslateAcceleratorW(appState ? appState->mainWindow : nullptr, accelerators, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    // The loop can end while the window lives (the session ends, or the quit came from a box's
    // loop): destroying it runs the one teardown path, so every ending releases the same.
    if (appState && appState->mainWindow)
        DestroyWindow(appState->mainWindow);
    tearDown();   // nothing left to release when WM_DESTROY ran
    return int(message.wParam);
}

void tearDown()
{
    if (appState) {
        DestroyWindow(appState->titleLabel);
        releaseAppContents(appState);
        LocalFree(appState);
        appState = nullptr;
    }
    releaseCitedReferences();
    if (questionnaireState) {
        QuestionnaireState* q = questionnaireState;
        // The process ends right after teardown; the records and lists are released anyway so
        // that a host running the program twice in one process (the tests) leaks nothing.
        releaseQuestionnaireContents(q);
        LocalFree(q);
        questionnaireState = nullptr;
    }
}
