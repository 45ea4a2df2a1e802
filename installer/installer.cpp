// installer: the desktop program that hands the device package to ActiveSync. Its window only
// shows the splash picture; the installation starts from a message the window posts to itself
// on creation, so the splash is up before the confirmation box asks.
#include <windows.h>

#include "install.h"
#include "resource.h"

namespace {

const UINT startInstallMessage = WM_APP + 1;

HINSTANCE instance;
HBITMAP splash;
HBITMAP spare;

// Icons 107 and 108 are single images inside group 133 (see installer.rc), so they are made from
// their own resource rather than through a group lookup by id.
HICON loadIconImage(WORD id, int size)
{
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(3));  // RT_ICON
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    void* bits = loaded ? LockResource(loaded) : nullptr;
    if (!bits)
        return nullptr;
    return CreateIconFromResourceEx(static_cast<BYTE*>(bits), SizeofResource(instance, found), TRUE, 0x00030000,
                                    size, size, LR_DEFAULTCOLOR);
}

INT_PTR CALLBACK aboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        SendDlgItemMessageA(dialog, IDC_ABOUT_ICON, STM_SETICON,
                            reinterpret_cast<WPARAM>(loadIconImage(IDI_INSTALLER, 32)), 0);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        break;
    }
    return FALSE;
}

void paintSplash(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(source, splash);
    BitBlt(dc, 0, 0, client.right, client.bottom, source, 0, 0, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
    EndPaint(window, &paint);
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        PostMessageA(window, startInstallMessage, 0, 0);
        return 0;
    case WM_PAINT:
        paintSplash(window);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDM_ABOUT) {
            DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_ABOUTBOX), window, aboutProc, 0);
            return 0;
        }
        if (LOWORD(wParam) == IDM_EXIT) {
            DestroyWindow(window);
            return 0;
        }
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case startInstallMessage:
        runInstall(window);
        DestroyWindow(window);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int showCommand)
{
    instance = hInstance;
    char title[100], className[100];
    LoadStringA(instance, IDS_APP_TITLE, title, sizeof title);
    LoadStringA(instance, IDS_WINDOW_CLASS, className, sizeof className);
    splash = LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_SPLASH));
    spare = LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_SPARE));

    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = loadIconImage(IDI_INSTALLER, 32);
    windowClass.hIconSm = loadIconImage(IDI_SMALL, 16);
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = className;
    RegisterClassExA(&windowClass);

    HWND window = CreateWindowExA(0, className, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0, 800, 600, nullptr,
                                  nullptr, instance, nullptr);
    if (!window)
        return 0;
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDC_INSTALLER));
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!TranslateAcceleratorA(message.hwnd, accelerators, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    DeleteObject(spare);
    DeleteObject(splash);
    return static_cast<int>(message.wParam);
}
