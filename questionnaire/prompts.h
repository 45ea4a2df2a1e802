// Messages and prompts: the modal message box with its fixed captions, and the prompt dialog
// (dialog resource 116) that shows an element's explanation with "Don't Show Again".
// Every message box of the program goes through messageBox, the one call into the platform.
#pragma once
#include <cstdint>

#include "platform/winapi.h"
#include "resources/resource.h"

constexpr int promptTextCapacity = 1000;   // units of the prompt buffer, terminator included

// Widens text and caption and shows the platform message box; its result. A shortage of memory
// does not keep the box from showing: at worst a very long text is cut.
int messageBox(HWND owner, const char* text, const char* caption, UINT type);

// As a question ("Confirm", OK and Cancel): true when the user chose OK. Otherwise an error
// ("Error", OK): false.
bool showMessage(const char* text, bool asQuestion);

// Shows the element's text in the prompt dialog unless it was suppressed; returns the button
// chosen (IDC_PROMPT_OK or IDC_PROMPT_DONT_SHOW), or -1 when nothing was shown.
// "Don't Show Again" suppresses the element's prompt until the program ends.
int showPrompt(std::uint16_t element);

// Test hooks: while set, messageBox and the prompt dialog call these instead of the platform.
// The message hook gets the widened text and caption and returns what the box would; the prompt
// hook gets the prompt text and returns the button.
typedef int (*MessageBoxHook)(const WCHAR* text, const WCHAR* caption, UINT type);
typedef int (*PromptDialogHook)(const WCHAR* text);
void setMessageBoxHook(MessageBoxHook hook);
void setPromptDialogHook(PromptDialogHook hook);
