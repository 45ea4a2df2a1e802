// Message boxes and the prompt dialog. Texts are 8-bit inside the program and widened here,
// at the platform boundary. The prompt text lives in a fixed buffer that AppState's promptText
// points to while the dialog shows it; a longer text is cut to fit.
#include "questionnaire/prompts.h"

#include <cstring>

#include "dbfile/heap.h"
#include "dbfile/text.h"
#include "display/render.h"
#include "questionnaire/elements.h"
#include "shell/state.h"

namespace {

MessageBoxHook messageHook = nullptr;
PromptDialogHook promptHook = nullptr;

WCHAR promptBuffer[promptTextCapacity];
constexpr int messageTextCapacity = 512;
WCHAR messageBuffer[messageTextCapacity];

constexpr int captionCapacity = 16;

HWND mainWindow()
{
    return appState ? appState->mainWindow : nullptr;
}

INT_PTR CALLBACK promptDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        SendMessageW(GetDlgItem(dialog, IDC_PROMPT_TEXT), WM_SETTEXT, 0,
                     LPARAM(appState ? appState->promptText : nullptr));
    } else if (message == WM_COMMAND) {
        switch (LOWORD(wParam)) {
        case IDC_PROMPT_DONT_SHOW:
            EndDialog(dialog, IDC_PROMPT_DONT_SHOW);
            break;
        case IDC_PROMPT_TEXT:   // the text was tapped: the focus belongs on OK
            SetFocus(GetDlgItem(dialog, IDC_PROMPT_OK));
            break;
        case IDC_PROMPT_OK:
            EndDialog(dialog, IDC_PROMPT_OK);
            break;
        }
    }
    return FALSE;   // everything also goes to the dialog's default processing
}

// A box opened while the screen is rebuilt shows over an empty view, not over controls of the
// screen being left that wait to be taken over.
void clearViewForBox()
{
    if (appState)
        destroyKeptControls(&appState->displayList);
}

int runPromptDialog()
{
    clearViewForBox();
    if (promptHook)
        return promptHook(promptBuffer);
    HINSTANCE instance = appState ? appState->instance : nullptr;
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(IDD_PROMPT), RT_DIALOG);
    if (!found)
        return -1;
    HGLOBAL loaded = LoadResource(instance, found);
    if (!loaded)
        return -1;
    return int(DialogBoxIndirectParamW(instance, static_cast<LPCDLGTEMPLATEW>(LockResource(loaded)),
                                       mainWindow(), promptDialog, 0));
}

} // namespace

void setMessageBoxHook(MessageBoxHook hook)
{
    messageHook = hook;
}

void setPromptDialogHook(PromptDialogHook hook)
{
    promptHook = hook;
}

int messageBox(HWND owner, const char* text, const char* caption, UINT type)
{
    // A message warns or asks: it is shown even when memory runs out. Texts that fit use the
    // fixed buffer; a longer one is widened on the heap, or cut to the buffer when that fails.
    // The box copies its text, so a box opened from within another may reuse the buffer.
    std::size_t length = text ? std::strlen(text) : 0;
    WCHAR* wideText = length < std::size_t(messageTextCapacity) ? nullptr
                                                   : static_cast<WCHAR*>(allocBlock((length + 1) * sizeof(WCHAR)));
    if (wideText)
        widenText(wideText, text);
    else
        widenTextBounded(messageBuffer, messageTextCapacity, text);
    WCHAR wideCaption[captionCapacity];
    widenTextBounded(wideCaption, captionCapacity, caption);
    const WCHAR* shown = wideText ? wideText : messageBuffer;
    clearViewForBox();
    int result = messageHook ? messageHook(shown, wideCaption, type) : MessageBoxW(owner, shown, wideCaption, type);
    freeBlock(wideText);
    return result;
}

bool showMessage(const char* text, bool asQuestion)
{
    if (asQuestion)
        return messageBox(mainWindow(), text, "Confirm", MB_OKCANCEL) == IDOK;
    messageBox(mainWindow(), text, "Error", MB_OK);
    return false;
}

int showPrompt(std::uint16_t element)
{
    QuestionnaireState* q = questionnaireState;
    if (!q || hasId(q->suppressedPrompts, element))
        return -1;
    const char* text = elementText(q->hierarchyRecords, q->stringRecords, element);
    if (!text)
        return -1;
    widenTextBounded(promptBuffer, promptTextCapacity, text);
    if (appState)
        appState->promptText = promptBuffer;
    int result = runPromptDialog();
    if (result == IDC_PROMPT_DONT_SHOW)
        addId(&q->suppressedPrompts, element);
    return result;
}
