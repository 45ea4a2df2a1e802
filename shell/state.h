// The program's two global records: AppState (what the shell, reports and calculators keep) and
// QuestionnaireState (what the questionnaire engine keeps). Both are zero-filled blocks created
// at start-up and freed at teardown; fields are in their documented order.
#pragma once
#include <cstdint>

#include "dbfile/records.h"
#include "display/displaylist.h"
#include "dosecalc/dose_ranges.h"
#include "platform/winapi.h"
#include "questionnaire/answers.h"
#include "questionnaire/elements.h"
#include "questionnaire/textlist.h"
#include "reports/reference_record.h"

enum ViewState : std::uint32_t {
    ModuleView = 1,
    AboutView = 4,
    HomeView = 6,
    ExplanationView = 7,
};

constexpr int conversionOptionCount = 6;
constexpr int therapyTextSize = 100;

struct AppState {
    std::uint32_t unnamed;                 // always 0; the instance given to the measuring windows
    HWND mainWindow;
    HWND keypadDialog;
    HWND keypadTarget;
    HWND titleLabel;
    HWND sectionSelector;                  // id 106
    HWND closeButton;                      // id 107
    HWND prescriptionButton, conversionButton, sideEffectButton;   // ids 108, 109, 110
    HWND logoButton;                       // id 111
    HWND infoButton;                       // id 112
    HBITMAP moduleButtonBitmaps[3];        // resources 121, 122, 123
    HBITMAP logoBitmap;                    // resource 124
    HBITMAP dropButtonBitmaps[2];          // resources 106 (normal), 107 (pressed)
    HBITMAP headerBitmap;                  // resource 115
    HFONT boldFont, underlineFont, boldUnderlineFont;
    HWND boldMeasureWindow, normalMeasureWindow;
    HDC boldMeasureContext, normalMeasureContext;
    std::uint8_t pageLinkOpen;
    HWND nextButton, backButton, restartButton;   // ids 101, 102, 105
    HWND scrollBar;                        // id 100
    std::uint8_t* dropLineMap;
    DisplayLine* openDropLine;
    std::uint16_t openDropChoice;
    TextList recommendationList, nonOpioidList, caveatList, monitoringList, rationaleList;
    char currentTherapyText[therapyTextSize], secondTherapyText[therapyTextSize];
    const char* productTexts[conversionOptionCount];
    const char* regimenTexts[conversionOptionCount];
    TextList optionReasons[conversionOptionCount];
    std::int32_t optionStatus[conversionOptionCount];
    TextList conversionCaveats, mitigatingFactors;
    std::int32_t selectedOption;
    DbRecord* doseRangeRecord;
    DbRecord* conversionRecord;
    DoseRangeIndex doseRangeIndex;         // of doseRangeRecord
    WCHAR* promptText;
    DisplayList displayList;
    HINSTANCE instance;
    std::uint32_t viewState;
    ReferenceIndex referenceIndex;         // the reference record as last read, and its index
};

struct QuestionnaireState {
    DbRecord* hierarchyRecords[10];
    DbRecord* stringRecords[10];
    AnswerList answers;
    AnswerList firedRules;
    AnswerList suppressedPrompts;
    AnswerList requiredList;
    std::uint16_t nextPage;
    std::uint16_t currentPage;
    std::uint16_t moduleRoot;
    AnswerList history;
    ElementIndex elementIndex;   // of hierarchyRecords, built when they are loaded
};

// Releases the twenty display-database records (the slots become none).
void releaseDisplayRecords(QuestionnaireState* q);
// Releases the records and every answer list the record holds; the record itself stays.
void releaseQuestionnaireContents(QuestionnaireState* q);
// The report sections' lists, emptied before every run of the rules.
void releaseSectionLists(AppState* app);
// The dose conversion's reasons, caveats and mitigating factors.
void releaseConversionLists(AppState* app);
// Everything the record owns but its windows: the lists above, the content records (the
// reference record and its index among them) and the drop list's line map; the record itself stays.
void releaseAppContents(AppState* app);
// The cited references of the latest rule run and their holder.
void releaseCitedReferences();

// The two global records, and the holder of the cited reference ids of the latest rule run.
extern AppState* appState;
extern QuestionnaireState* questionnaireState;
extern AnswerList* citedReferences;
