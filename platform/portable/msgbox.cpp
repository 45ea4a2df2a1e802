// MessageBoxW: a real dialog window ("#32770") with the caption, the text (a STATIC, id 0xFFFF)
// and one push button per answer, run modally; it returns the id of the button pressed (IDOK,
// IDCANCEL, IDYES, IDNO, ...). Escape or a close gives IDCANCEL where there is a Cancel button,
// IDOK for a box with OK alone, and nothing otherwise.
// Differs from Windows in: no icons or sounds; button texts carry no mnemonics ("Yes", not
// "&Yes"); the text is wrapped at blanks only.
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

constexpr int margin = 8, textWidth = 198;
constexpr int buttonWidth = 50, buttonHeight = 20, buttonGap = 8;

int widthOf(HDC dc, const std::u16string& text)
{
    SIZE size{0, 0};
    if (!text.empty())
        GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
    return int(size.cx);
}

// Lines the text takes in the system font when wrapped at blanks to the text width (a word
// wider than the line takes a line of its own); '\n' breaks a line.
int wrappedLines(HDC dc, const std::u16string& text)
{
    int lines = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(u'\n', start);
        std::u16string paragraph = text.substr(start, end == std::u16string::npos ? std::u16string::npos : end - start);
        std::u16string line;
        ++lines;
        std::size_t at = 0;
        while (at < paragraph.size()) {
            std::size_t blank = paragraph.find(u' ', at);
            std::u16string word = paragraph.substr(at, blank == std::u16string::npos ? std::u16string::npos : blank - at + 1);
            if (!line.empty() && widthOf(dc, line + word) > textWidth) {
                ++lines;
                line.clear();
            }
            line += word;
            at += word.size();
        }
        if (end == std::u16string::npos)
            break;
        start = end + 1;
    }
    return lines;
}

// The height of the text in the box's own device context (the system font).
int textHeightIn(HWND box, const std::u16string& text)
{
    HDC dc = GetDC(box);
    TEXTMETRICW metrics{};
    int height = 13;
    if (dc && GetTextMetricsW(dc, &metrics) && metrics.tmHeight > 0)
        height = int(metrics.tmHeight);
    int lines = dc ? wrappedLines(dc, text) : 1 + int(text.size() * 6 / textWidth);
    if (dc)
        ReleaseDC(box, dc);
    return lines * height;
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

    bool ownerWasEnabled = root && IsWindowEnabled(root);
    if (ownerWasEnabled)
        EnableWindow(root, FALSE);
    HWND box = createDialogWindow(nullptr, WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME,
                                  RECT{0, 0, screenWidth, screenHeight}, title, root, messageBoxProc);
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

    int textHeight = std::min(textHeightIn(box, body), screenHeight - 100);
    int clientWidth = textWidth + 2 * margin;
    int buttonsTop = margin + textHeight + 10;
    int clientHeight = buttonsTop + buttonHeight + margin;
    int width = clientWidth + 6, height = clientHeight + captionHeight + 6;
    MoveWindow(box, (screenWidth - width) / 2, (screenHeight - height) / 2, width, height, FALSE);
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
