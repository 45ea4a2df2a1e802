// The numeric keypad (dialog 117): a modeless window that types into the edit field that last
// took the focus, and closes with its "Close" button or at the next page build.
#include "platform/winapi.h"
#include "shell/shell.h"
#include "shell/state.h"

namespace {

struct KeypadKey {
    int id;
    WCHAR character;   // 0: the "Close" button
};

const KeypadKey keypadKeys[] = {
    {1006, u'1'}, {1007, u'2'}, {1008, u'3'}, {1009, u'4'}, {1010, u'5'}, {1011, u'6'}, {1012, u'7'},
    {1013, u'8'}, {1014, u'9'}, {1015, 8},    {1016, u'0'}, {1017, u'.'}, {1018, 0},
};

} // namespace

INT_PTR CALLBACK keypadProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND) {
        int id = LOWORD(wParam);
        for (const KeypadKey& key : keypadKeys) {
            if (key.id != id)
                continue;
            if (key.character) {
                SendMessageW(appState->keypadTarget, WM_CHAR, key.character, 0);
            } else {
                appState->keypadDialog = nullptr;
                SendMessageW(appState->keypadTarget, WM_KILLFOCUS, 0, 0);
                DestroyWindow(window);
                return 0;   // the window is gone: nothing may be done with it any more
            }
            break;
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void openKeypad(HWND target)
{
    appState->keypadTarget = target;
    if (appState->keypadDialog)
        return;
    HRSRC resource = FindResourceW(appState->instance, MAKEINTRESOURCEW(KeypadDialog), RT_DIALOG);
    HGLOBAL loaded = resource ? LoadResource(appState->instance, resource) : nullptr;
    if (!loaded)
        return;
    appState->keypadDialog = CreateDialogIndirectParamW(appState->instance,
                                                        static_cast<LPCDLGTEMPLATEW>(LockResource(loaded)),
                                                        appState->mainWindow, keypadProc, 0);
    if (appState->keypadDialog)
        SendMessageW(target, WM_SETFOCUS, 0, 0);
}

void closeKeypad()
{
    if (!appState->keypadDialog)
        return;
    HWND keypad = appState->keypadDialog;
    appState->keypadDialog = nullptr;
    DestroyWindow(keypad);
}
