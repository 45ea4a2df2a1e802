// A small program with its own window procedure that zura-web serves in the browser test: a
// painted title strip with its title, a check box, an edit, a button asking in a message box, an
// owner-drawn button, a list box, a section selector, a scroll bar and an "X" button. A status
// line tells what the program last saw, so the test reads the program's answers off the screen.
#include "hosts/web/web.h"

#include <string>

namespace {

HWND mainWindow, title, status, edit, list, selector, bar;
HFONT boldFont;

void setStatus(const std::u16string& text)
{
    SetWindowTextW(status, text.c_str());
}

std::u16string numberText(long n)
{
    std::u16string out;
    for (char c : std::to_string(n))
        out.push_back(char16_t(c));
    return out;
}

std::u16string textOf(HWND window)
{
    WCHAR text[128] = {};
    GetWindowTextW(window, text, 128);
    return text;
}

std::u16string lineOf(HWND window, UINT getText, int index)
{
    WCHAR text[128] = {};
    if (index >= 0)
        SendMessageW(window, getText, WPARAM(index), (LPARAM)text);
    return text;
}

void onCommand(int id, int code)
{
    if (id == 201 && code == BN_CLICKED)
        setStatus(SendMessageW(GetDlgItem(mainWindow, 201), BM_GETCHECK, 0, 0) ? u"Checked: yes" : u"Checked: no");
    if (id == 202 && code == EN_CHANGE)
        setStatus(u"Dose: " + textOf(edit));
    if (id == 204 && code == BN_CLICKED)
        setStatus(u"Answer: " + numberText(MessageBoxW(mainWindow, u"Continue with this dose?", u"Confirm", MB_OKCANCEL)));
    if (id == 205 && code == BN_CLICKED)
        setStatus(u"Module opened");
    if (id == 206 && code == LBN_SELCHANGE)
        setStatus(u"Picked: " + lineOf(list, LB_GETTEXT, int(SendMessageW(list, LB_GETCURSEL, 0, 0))));
    if (id == 106 && code == CBN_SELCHANGE)
        setStatus(u"Section: " + lineOf(selector, CB_GETLBTEXT, int(SendMessageW(selector, CB_GETCURSEL, 0, 0))));
    if (id == 107 || id == 1)
        DestroyWindow(mainWindow);
}

void onScroll(int code, int position)
{
    SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(bar, SB_CTL, &si);
    int pos = si.nPos;
    switch (code) {
    case SB_LINEUP: pos -= 1; break;
    case SB_LINEDOWN: pos += 1; break;
    case SB_PAGEUP: pos -= int(si.nPage); break;
    case SB_PAGEDOWN: pos += int(si.nPage); break;
    case SB_THUMBPOSITION: pos = position; break;
    default: return;
    }
    int highest = si.nMax - int(si.nPage) + 1;
    pos = pos < 0 ? 0 : pos > highest ? highest : pos;
    si.fMask = SIF_POS;
    si.nPos = pos;
    SetScrollInfo(bar, SB_CTL, &si, TRUE);
    setStatus(u"Row: " + numberText(pos));
}

void paintStrip(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT strip{0, 0, 240, 26};
    HBRUSH blue = CreateSolidBrush(RGB(30, 82, 140));
    FillRect(dc, &strip, blue);
    DeleteObject(blue);
    EndPaint(window, &paint);
}

void drawModuleButton(const DRAWITEMSTRUCT* item)
{
    HBRUSH green = CreateSolidBrush((item->itemState & ODS_SELECTED) ? RGB(20, 110, 60) : RGB(40, 150, 80));
    FillRect(item->hDC, &item->rcItem, green);
    DeleteObject(green);
    SetBkMode(item->hDC, TRANSPARENT);
    SetTextColor(item->hDC, RGB(255, 255, 255));
    HGDIOBJ previous = SelectObject(item->hDC, boldFont);
    TextOutW(item->hDC, 8, 3, u"Module", 6);
    SelectObject(item->hDC, previous);
}

LRESULT CALLBACK demoProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: paintStrip(window); return 0;
    case WM_DRAWITEM: drawModuleButton(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
    case WM_COMMAND: onCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_VSCROLL: onScroll(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_CTLCOLORSTATIC:
        // The title is white on the strip; other statics keep the system's colours.
        if ((HWND)lParam != title)
            return DefWindowProcW(window, message, wParam, lParam);
        SetTextColor((HDC)wParam, RGB(255, 255, 255));
        SetBkMode((HDC)wParam, TRANSPARENT);
        return (LRESULT)GetStockObject(HOLLOW_BRUSH);
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

HWND control(const char16_t* cls, const char16_t* text, DWORD style, int x, int y, int w, int h, int id)
{
    return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, mainWindow, (HMENU)(UINT_PTR)id,
                           nullptr, nullptr);
}

int demoProgram(HINSTANCE instance, HINSTANCE, LPWSTR, int show)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = demoProc;
    wc.hInstance = instance;
    wc.lpszClassName = u"WebDemo";
    RegisterClassW(&wc);
    mainWindow = CreateWindowExW(0, u"WebDemo", u"Demo", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, instance, nullptr);
    ShowWindow(mainWindow, show);
    LOGFONTW bold{};
    bold.lfHeight = 15;
    bold.lfWeight = 700;
    std::u16string face = u"Frutiger Linotype";
    face.copy(bold.lfFaceName, face.size());
    boldFont = CreateFontIndirectW(&bold);

    title = control(u"STATIC", u"Pain assessment", 0, 30, 5, 180, 16, 0);
    SendMessageW(title, WM_SETFONT, (WPARAM)boldFont, TRUE);
    control(u"BUTTON", u"X", BS_PUSHBUTTON, 220, 4, 17, 17, 107);
    control(u"BUTTON", u"Sleep apnea", BS_AUTOCHECKBOX, 5, 32, 200, 16, 201);
    control(u"STATIC", u"Dose (mg):", 0, 5, 55, 70, 16, 0);
    edit = control(u"EDIT", u"", WS_BORDER | ES_CENTER, 80, 52, 60, 20, 202);
    status = control(u"STATIC", u"Ready", 0, 5, 78, 210, 16, 203);
    control(u"BUTTON", u"Ask", BS_PUSHBUTTON, 5, 100, 50, 20, 204);
    control(u"BUTTON", u"Module", BS_OWNERDRAW, 62, 100, 100, 20, 205);
    list = control(u"LISTBOX", u"", WS_BORDER | LBS_NOTIFY, 5, 128, 150, 56, 206);
    for (const char16_t* t : {u"Morphine", u"Fentanyl", u"Hydromorphone"})
        SendMessageW(list, LB_ADDSTRING, 0, (LPARAM)t);
    selector = control(u"COMBOBOX", u"", CBS_DROPDOWNLIST, 55, 295, 120, 200, 106);
    for (const char16_t* t : {u"Prescription", u"Caveats", u"References"})
        SendMessageW(selector, CB_ADDSTRING, 0, (LPARAM)t);
    SendMessageW(selector, CB_SETCURSEL, 0, 0);
    bar = control(u"SCROLLBAR", nullptr, SBS_VERT, 225, 27, 15, 263, 100);
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 39, 16, 0, 0};
    SetScrollInfo(bar, SB_CTL, &si, TRUE);
    ACCEL table[] = {{FVIRTKEY | FCONTROL, 'Q', 1}};
    HACCEL accelerators = CreateAcceleratorTableW(table, 1);
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0)) {
        if (TranslateAcceleratorW(mainWindow, accelerators, &m))
            continue;
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    DestroyAcceleratorTable(accelerators);
    DeleteObject(boldFont);
    return int(m.wParam);
}

}  // namespace

int main(int argc, char** argv)
{
    return webMain(argc, argv, demoProgram, ".");
}
