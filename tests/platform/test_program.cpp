// The small test program driven by zura-sim in the tests (see test_program.h).
#include "test_program.h"

#include "harness.h"

namespace {

HWND mainWindow, keypad, dropList, dropButton;
HACCEL accelerators;

std::string narrow(const WCHAR* text)
{
    std::string out;
    for (; *text; ++text)
        out += char(*text & 0xFF);
    return out;
}

std::string stateOf(HWND control)
{
    WCHAR text[64] = {};
    WCHAR cls[16] = {};
    GetClassNameW(control, cls, 16);
    if (std::u16string(cls) == u"BUTTON")
        return std::to_string(SendMessageW(control, BM_GETCHECK, 0, 0));
    if (std::u16string(cls) == u"COMBOBOX")
        return std::to_string(SendMessageW(control, CB_GETCURSEL, 0, 0));
    if (std::u16string(cls) == u"LISTBOX")
        return std::to_string(SendMessageW(control, LB_GETCURSEL, 0, 0));
    GetWindowTextW(control, text, 64);
    return narrow(text);
}

INT_PTR CALLBACK keypadProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND) {
        programLog().push_back("keypad " + std::to_string(LOWORD(wParam)));
        if (LOWORD(wParam) == 1018) {
            DestroyWindow(dialog);
            keypad = nullptr;
        }
    }
    return (INT_PTR)DefWindowProcW(dialog, message, wParam, lParam);
}

void openKeypad()
{
    if (keypad)
        return;
    static std::vector<WORD> t = dialogTemplate(WS_POPUP | WS_VISIBLE | DS_MODALFRAME, 40, 95, 42, 70, u"",
                                                {{WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 13, 13, 1006, 0x80, u"1"},
                                                 {WS_CHILD | WS_VISIBLE | WS_TABSTOP, 14, 0, 13, 13, 1007, 0x80, u"2"},
                                                 {WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 56, 41, 13, 1018, 0x80, u"Close"}});
    keypad = CreateDialogIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(t.data()), mainWindow, keypadProc, 0);
}

void onCommand(WPARAM wParam, LPARAM lParam)
{
    int id = LOWORD(wParam), code = HIWORD(wParam);
    HWND control = (HWND)lParam;
    programLog().push_back("command " + std::to_string(id) + " " + std::to_string(code) +
                           (control ? " " + stateOf(control) : ""));
    if (id == 203 && code == BN_CLICKED)
        programLog().push_back("messagebox " + std::to_string(MessageBoxW(mainWindow, u"Continue?", u"Confirm", MB_OKCANCEL)));
    if (id == 204 && code == BN_CLICKED)
        openKeypad();
    if (id == 20000 && code == BN_CLICKED) {
        // The drop button opens the list: every option, the button hidden meanwhile.
        SendMessageW(dropList, LB_RESETCONTENT, 0, 0);
        for (const char16_t* t : {u"Morphine", u"Fentanyl", u"Hydromorphone"})
            SendMessageW(dropList, LB_ADDSTRING, 0, (LPARAM)t);
        MoveWindow(dropList, 10, 150, 100, 54, TRUE);
        ShowWindow(dropButton, SW_HIDE);
    }
    if (id == 5 && code == LBN_SELCHANGE && !IsWindowVisible(dropButton)) {
        ShowWindow(dropButton, SW_SHOW);
        MoveWindow(dropList, 10, 150, 100, 18, TRUE);
    }
    if (id == 1 || id == 107)
        DestroyWindow(mainWindow);
}

LRESULT CALLBACK mainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND: onCommand(wParam, lParam); return 0;
    case WM_VSCROLL:
        programLog().push_back("vscroll " + std::to_string(LOWORD(wParam)) + " " + std::to_string(HIWORD(wParam)));
        return 0;
    case WM_DESTROY:
        programLog().push_back("destroy");
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

HWND control(const char16_t* cls, const char16_t* text, DWORD style, int x, int y, int w, int h, int id)
{
    return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, mainWindow, (HMENU)(UINT_PTR)id,
                           nullptr, nullptr);
}

}  // namespace

std::vector<std::string>& programLog()
{
    static std::vector<std::string> log;
    return log;
}

int testProgram(HINSTANCE instance, HINSTANCE, LPWSTR, int show)
{
    keypad = nullptr;
    WNDCLASSW wc{};
    wc.lpfnWndProc = mainProc;
    wc.hInstance = instance;
    wc.lpszClassName = u"TestProgram";
    RegisterClassW(&wc);
    mainWindow = CreateWindowExW(0, u"TestProgram", u"Test Program", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr,
                                 instance, nullptr);
    ShowWindow(mainWindow, show);
    control(u"BUTTON", u"X", 0, 225, 3, 12, 16, 107);
    control(u"BUTTON", u"Sleep apnea", BS_AUTOCHECKBOX, 5, 30, 150, 16, 201);
    control(u"EDIT", u"mg", WS_BORDER | ES_CENTER, 5, 50, 60, 18, 202);
    control(u"BUTTON", u"Ask", 0, 5, 75, 50, 20, 203);
    control(u"BUTTON", u"Keypad", 0, 60, 75, 50, 20, 204);
    control(u"STATIC", u"Plain text", 0, 5, 100, 100, 15, 0);
    LOGFONTW bold{};
    bold.lfHeight = 15;
    bold.lfWeight = 700;
    bold.lfUnderline = 1;
    std::u16string face = u"Frutiger Linotype";
    std::copy(face.begin(), face.end(), bold.lfFaceName);
    static HFONT boldFont = CreateFontIndirectW(&bold);
    SendMessageW(control(u"STATIC", u"Recommend", 0, 120, 100, 100, 15, 0), WM_SETFONT, (WPARAM)boldFont, TRUE);
    dropList = control(u"LISTBOX", u"v", WS_BORDER | WS_VSCROLL | LBS_EXTENDEDSEL | LBS_NOTIFY, 10, 150, 100, 18, 5);
    SendMessageW(dropList, LB_ADDSTRING, 0, (LPARAM)u"Morphine");
    dropButton = control(u"BUTTON", u"v", BS_OWNERDRAW, 110, 150, 10, 17, 20000);
    HWND selector = control(u"COMBOBOX", u"", CBS_DROPDOWNLIST, 55, 295, 120, 200, 106);
    for (const char16_t* t : {u"Prescription", u"Caveats", u"References"})
        SendMessageW(selector, CB_ADDSTRING, 0, (LPARAM)t);
    SendMessageW(selector, CB_SETCURSEL, 0, 0);
    HWND bar = control(u"SCROLLBAR", nullptr, SBS_VERT, 225, 27, 15, 263, 100);
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 39, 16, 0, 0};
    SetScrollInfo(bar, SB_CTL, &si, TRUE);
    ACCEL table[] = {{FVIRTKEY | FCONTROL, 'Q', 1}};
    accelerators = CreateAcceleratorTableW(table, 1);
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0)) {
        if (TranslateAcceleratorW(mainWindow, accelerators, &m))
            continue;
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    return int(m.wParam);
}
