// What a program may do from inside a notification, as the device program does when it
// re-renders a page: destroy the control that is notifying, end a dialog before it is shown,
// destroy a modal dialog instead of ending it.
#include "harness.h"

namespace {

HWND replaced;
int clicks;

LRESULT CALLBACK rebuildingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        ++clicks;
        // The page is built again: every control goes, new ones take their places.
        DestroyWindow((HWND)lParam);
        replaced = createControl(u"BUTTON", u"Sleep apnea", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 5, 30, 150, 16,
                                 window, 11);
        return 0;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == CBN_SELENDOK)
        DestroyWindow((HWND)lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

void runUntilIdle()
{
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0)) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

class ReentrancyTest : public PlatformTest {
protected:
    HWND main = nullptr;
    ScriptedUser user;
    void SetUp() override
    {
        PlatformTest::SetUp();
        clicks = 0;
        replaced = nullptr;
        WNDCLASSW wc{};
        wc.lpfnWndProc = rebuildingProc;
        wc.lpszClassName = u"Rebuilding";
        RegisterClassW(&wc);
        main = CreateWindowExW(0, u"Rebuilding", u"", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr, nullptr);
    }
};

INT_PTR CALLBACK endsAtOnce(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message == WM_INITDIALOG)
        EndDialog(dialog, 42);
    return FALSE;
}

INT_PTR CALLBACK destroysItself(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message == WM_COMMAND)
        DestroyWindow(dialog);
    return FALSE;
}

std::vector<WORD> oneButton()
{
    return dialogTemplate(WS_POPUP | WS_VISIBLE, 0, 0, 100, 50, u"",
                          {{WS_CHILD | WS_VISIBLE | WS_TABSTOP, 5, 5, 40, 12, 1005, 0x80, u"OK"}});
}

}  // namespace

TEST_F(ReentrancyTest, AControlDestroyedByItsOwnNotificationIsLeftAlone)
{
    HWND box = createControl(u"BUTTON", u"Sleep apnea", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 5, 30, 150, 16, main, 11);
    user.steps.push_back([&] { tapWindow(box); });
    user.steps.push_back([&] { tapWindow(replaced); });
    user.install();
    runUntilIdle();
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(IsWindow(box));
    ASSERT_TRUE(IsWindow(replaced));
    EXPECT_EQ(SendMessageW(replaced, BM_GETCHECK, 0, 0), BST_UNCHECKED) << "the new box was replaced in turn, unticked";
}

TEST_F(ReentrancyTest, AComboBoxDestroyedWhileClosingSendsNothingMore)
{
    HWND combo = createControl(u"COMBOBOX", u"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 55, 295, 120, 200, main, 106);
    SendMessageW(combo, CB_ADDSTRING, 0, (LPARAM)u"Prescription");
    user.steps.push_back([&] {
        PortableAction a;
        a.kind = PortableActionKind::Pick;
        a.target = combo;
        a.index = 0;
        portablePushAction(a);
    });
    user.install();
    runUntilIdle();
    EXPECT_FALSE(IsWindow(combo));
}

TEST_F(ReentrancyTest, ADialogEndedDuringWmInitDialogIsNeverShown)
{
    std::vector<WORD> t = oneButton();
    EXPECT_EQ(DialogBoxIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(t.data()), main, endsAtOnce, 0), 42);
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_EQ(GetActiveWindow(), main);
}

TEST_F(ReentrancyTest, AModalDialogDestroyedInsteadOfEndedReleasesItsOwner)
{
    std::vector<WORD> t = oneButton();
    user.steps.push_back([&] { tapWindow(findByText(u"OK")); });
    user.install();
    EXPECT_EQ(DialogBoxIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(t.data()), main, destroysItself, 0), 0);
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_EQ(portableModalTop(), nullptr);
}

TEST_F(ReentrancyTest, AMessageBoxWithoutOwnerLeavesOtherWindowsEnabled)
{
    bool enabledMeanwhile = false;
    user.steps.push_back([&] {
        enabledMeanwhile = IsWindowEnabled(main);
        tapWindow(findByText(u"OK"));
    });
    user.install();
    EXPECT_EQ(MessageBoxW(nullptr, u"Could not find the Hierarchy records", u"Error", MB_OK), IDOK);
    EXPECT_TRUE(enabledMeanwhile);
}

TEST_F(ReentrancyTest, ABadTemplateMakesNoDialog)
{
    std::vector<WORD> unknownClass = {WORD(WS_POPUP), WORD(WS_POPUP >> 16), 0, 0, 1, 0, 0, 10, 10, 0, 0, 0, 0,
                                      0, 0, 0, 0, 0, 0, 0, 0, 5, 0xFFFF, 0x99, 0, 0, 0, 0};
    EXPECT_EQ(CreateDialogIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(unknownClass.data()), main, endsAtOnce, 0),
              nullptr);
    EXPECT_EQ(CreateDialogIndirectParamW(nullptr, nullptr, main, endsAtOnce, 0), nullptr);
    EXPECT_EQ(DialogBoxIndirectParamW(nullptr, nullptr, main, endsAtOnce, 0), -1);
    EXPECT_TRUE(IsWindowEnabled(main)) << "a dialog that could not be made leaves its owner enabled";
}
