// The device program's own dialog resources (116, the prompt; 117, the keypad), loaded the way
// the program loads them, run by the window system.
#include "harness.h"

namespace {

LPCDLGTEMPLATEW dialogResource(int id)
{
    HRSRC found = FindResourceW(portableProgramInstance(), MAKEINTRESOURCEW(id), RT_DIALOG);
    return reinterpret_cast<LPCDLGTEMPLATEW>(LoadResource(portableProgramInstance(), found));
}

INT_PTR CALLBACK endOnCommand(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND && (LOWORD(wParam) == 1003 || LOWORD(wParam) == 1005))
        EndDialog(dialog, LOWORD(wParam));
    return FALSE;
}

INT_PTR CALLBACK passEverything(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return (INT_PTR)DefWindowProcW(dialog, message, wParam, lParam);
}

}  // namespace

TEST_F(PlatformTest, TheKeypadResourceHasThirteenButtonsAtTheirPlaces)
{
    HWND main = createLogger(WS_VISIBLE);
    LPCDLGTEMPLATEW keypadTemplate = dialogResource(117);
    ASSERT_TRUE(keypadTemplate);
    HWND keypad = CreateDialogIndirectParamW(portableProgramInstance(), keypadTemplate, main, passEverything, 0);
    ASSERT_TRUE(keypad);
    EXPECT_TRUE(IsWindowVisible(keypad));
    struct Key {
        int id;
        const char16_t* text;
        int x, y, width, height;   // pixels in the keypad's client area
    } keys[] = {
        {1006, u"1", 0, 0, 20, 21},   {1007, u"2", 21, 0, 20, 21},   {1008, u"3", 42, 0, 20, 21},
        {1009, u"4", 0, 23, 20, 21},  {1010, u"5", 21, 23, 20, 21},  {1011, u"6", 42, 23, 20, 21},
        {1012, u"7", 0, 46, 20, 21},  {1013, u"8", 21, 46, 20, 21},  {1014, u"9", 42, 46, 20, 21},
        {1015, u"<", 0, 68, 20, 21},  {1016, u"0", 21, 68, 20, 21},  {1017, u".", 42, 68, 20, 21},
        {1018, u"Close", 0, 91, 62, 21},
    };
    POINT origin{0, 0};
    ClientToScreen(keypad, &origin);
    EXPECT_EQ(origin.x, 60);    // 40 dialog units
    EXPECT_EQ(origin.y, 154);   // 95 dialog units
    for (const Key& k : keys) {
        HWND button = GetDlgItem(keypad, k.id);
        ASSERT_TRUE(button) << k.id;
        WCHAR text[10];
        GetWindowTextW(button, text, 10);
        EXPECT_EQ(std::u16string(text), k.text) << k.id;
        RECT r;
        GetWindowRect(button, &r);
        EXPECT_EQ(r.left - origin.x, k.x) << k.id;
        EXPECT_EQ(r.top - origin.y, k.y) << k.id;
        EXPECT_EQ(r.right - r.left, k.width) << k.id;
        EXPECT_EQ(r.bottom - r.top, k.height) << k.id;
    }
}

TEST_F(PlatformTest, ThePromptResourceRunsModallyAndReturnsTheButtonPressed)
{
    HWND main = createLogger(WS_VISIBLE);
    LPCDLGTEMPLATEW promptTemplate = dialogResource(116);
    ASSERT_TRUE(promptTemplate);
    ScriptedUser user;
    HWND text = nullptr;
    LRESULT defaultButton = 0;
    user.steps.push_back([&] {
        HWND box = portableModalTop();
        text = GetDlgItem(box, 1004);
        defaultButton = SendMessageW(box, DM_GETDEFID, 0, 0);
        tapWindow(GetDlgItem(box, 1003));
    });
    user.install();
    EXPECT_EQ(DialogBoxIndirectParamW(portableProgramInstance(), promptTemplate, main, endOnCommand, 0), 1003);
    EXPECT_EQ(defaultButton, MAKELRESULT(1005, DC_HASDEFID));
    EXPECT_TRUE(text != nullptr);
    EXPECT_FALSE(IsWindow(text)) << "the dialog is gone";
}
