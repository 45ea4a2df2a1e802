// The device program's shell: start-up and teardown, the main window and its commands, the
// keypad, the About page. The window procedure is the program's only event handler.
#pragma once
#include "display/displaylist.h"
#include "platform/winapi.h"
#include "shell/startup.h"

// Command ids of the main window's controls.
enum CommandId : int {
    CloseCommand = 1,
    ScrollBarId = 100,
    NextId = 101,
    BackId = 102,
    RestartId = 105,
    SectionSelectorId = 106,
    CloseButtonId = 107,
    PrescriptionButtonId = 108,
    ConversionButtonId = 109,
    SideEffectButtonId = 110,
    LogoButtonId = 111,
    InfoButtonId = 112,
};

// Resource ids.
enum ResourceId : int {
    TitleString = 1,
    ClassString = 3,
    AcceleratorTable = 3,
    IconResource = 101,
    DropButtonBitmap = 106,
    DropButtonPressedBitmap = 107,
    HeaderBitmap = 115,
    PromptDialog = 116,
    KeypadDialog = 117,
    PrescriptionBitmap = 121,
    ConversionBitmap = 122,
    SideEffectBitmap = 123,
    LogoBitmap = 124,
};


LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Screen modes of showScreen.
enum ScreenMode : int { RebuildScreen = 1, RecheckScreen = 3 };
void showScreen(int mode, DisplayLine* line);
void setTitle(const char* text);
void updateScrollBar();
bool recordControl(HWND control, int notification);

// Keypad (dialog 117) and About page.
INT_PTR CALLBACK keypadProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void openKeypad(HWND target);
void closeKeypad();
DisplayLine* buildAboutPage();

// Results titles and the pages without Next.
const char* resultsTitle(char* buffer, int size);
bool pageHasNoNext(unsigned page);
// The ids of those tables, for checks over the display database (dbtool check).
void visitResultsTitleDrugs(void (*visit)(std::uint16_t id, void* data), void* data);
void visitPagesWithoutNext(void (*visit)(std::uint16_t id, void* data), void* data);
void onEditNotification(DisplayLine* line, HWND control, int notification);
