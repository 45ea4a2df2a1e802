// MessageBoxW: a real dialog window ("#32770") with the caption, the text (a STATIC, id 0xFFFF)
// and one push button per answer, run modally; it returns the id of the button pressed (IDOK,
// IDCANCEL, IDYES, IDNO, ...). Escape or a close gives IDCANCEL where there is a Cancel button,
// IDOK for a box with OK alone, and nothing otherwise.
// Differs from Windows in: no icons or sounds; button texts carry no mnemonics ("Yes", not
// "&Yes"); the layout estimates text at 6 x 13 pixels a character instead of measuring it.
#include "platform/portable/wnd.h"

#include <algorithm>

namespace {

struct Answer {
    int id;
    const char16_t* text;
};

std::vector<Answer> answersFor(UINT type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{IDOK, u"OK"}, {IDCANCEL, u"Cancel"}};
    case MB_ABORTRETRYIGNORE: return {{IDABORT, u"Abort"}, {IDRETRY, u"Retry"}, {IDIGNORE, u"Ignore"}};
    case MB_YESNOCANCEL: return {{IDYES, u"Yes"}, {IDNO, u"No"}, {IDCANCEL, u"Cancel"}};
    case MB_YESNO: return {{IDYES, u"Yes"}, {IDNO, u"No"}};
    case MB_RETRYCANCEL: return {{IDRETRY, u"Retry"}, {IDCANCEL, u"Cancel"}};
    default: return {{IDOK, u"OK"}};
    }
}

constexpr int charWidth = 6, lineHeight = 13, margin = 8, textWidth = 198;
constexpr int buttonWidth = 50, buttonHeight = 20, buttonGap = 8;

// Lines the text takes when wrapped at word boundaries to the text width.
int estimatedLines(const std::u16string& text)
{
    const std::size_t perLine = textWidth / charWidth;
    int lines = 1;
    std::size_t column = 0, word = 0;
    for (char16_t c : text) {
        if (c == u'\n') {
            ++lines;
            column = word = 0;
            continue;
        }
        ++column;
        word = c == u' ' ? 0 : word + 1;
        if (column > perLine) {
            ++lines;
            column = word < perLine ? word : 1;
            word = column;
        }
    }
    return lines;
}

INT_PTR CALLBACK messageBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM)
{
    PortableWindow* b = liveWindow(box);
    if (message != WM_COMMAND || !b)
        return FALSE;
    int id = LOWORD(wParam);
    std::vector<Answer> answers = answersFor(b->messageBoxType);
    bool known = std::any_of(answers.begin(), answers.end(), [id](const Answer& a) { return a.id == id; });
    if (known)
        EndDialog(box, id);
    else if (id == IDCANCEL && answers.size() == 1 && answers[0].id == IDOK)
        EndDialog(box, IDOK);
    return TRUE;
}

}  // namespace

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    HWND root = owner ? rootWindow(owner) : nullptr;
    if (owner && !root)
        return 0;
    std::u16string body = textOf(text);
    std::u16string title = caption ? textOf(caption) : std::u16string(u"Error");
    std::vector<Answer> answers = answersFor(type);

    int textHeight = std::min(estimatedLines(body) * lineHeight, screenHeight - 100);
    int clientWidth = textWidth + 2 * margin;
    int buttonsTop = margin + textHeight + 10;
    int clientHeight = buttonsTop + buttonHeight + margin;
    int width = clientWidth + 6, height = clientHeight + captionHeight + 6;
    RECT r{(screenWidth - width) / 2, (screenHeight - height) / 2, 0, 0};
    r.right = r.left + width;
    r.bottom = r.top + height;

    bool ownerWasEnabled = root && IsWindowEnabled(root);
    if (ownerWasEnabled)
        EnableWindow(root, FALSE);
    HWND box = createDialogWindow(nullptr, WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME,
                                  r, title, root, messageBoxProc);
    PortableWindow* b = liveWindow(box);
    if (!b) {
        if (ownerWasEnabled)
            EnableWindow(root, TRUE);
        return 0;
    }
    b->modal = true;
    b->messageBox = true;
    b->messageBoxType = type;
    b->ownerWasEnabled = ownerWasEnabled;
    CreateWindowExW(WS_EX_NOPARENTNOTIFY, u"STATIC", body.c_str(), WS_CHILD | WS_VISIBLE | SS_NOPREFIX,
                    margin, margin, textWidth, textHeight, box, (HMENU)(UINT_PTR)0xFFFF, nullptr, nullptr);
    int defaultIndex = std::min(int((type & MB_DEFMASK) >> 8), int(answers.size()) - 1);
    int rowWidth = int(answers.size()) * buttonWidth + (int(answers.size()) - 1) * buttonGap;
    int x = (clientWidth - rowWidth) / 2;
    HWND defaultButton = nullptr;
    for (int i = 0; i < int(answers.size()); ++i) {
        DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (i == defaultIndex ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        HWND button = CreateWindowExW(WS_EX_NOPARENTNOTIFY, u"BUTTON", answers[std::size_t(i)].text, style,
                                      x, buttonsTop, buttonWidth, buttonHeight, box,
                                      (HMENU)(UINT_PTR)answers[std::size_t(i)].id, nullptr, nullptr);
        if (i == defaultIndex) {
            defaultButton = button;
            b->defId = answers[std::size_t(i)].id;
        }
        x += buttonWidth + buttonGap;
    }
    ShowWindow(box, SW_SHOW);
    if (defaultButton)
        SetFocus(defaultButton);
    return int(runModalLoop(box));
}
