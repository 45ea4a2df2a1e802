// Dialogs from in-memory templates and message boxes: modal ones run their own nested loop with
// the owner disabled and return what the user pressed; modeless ones send their commands.
#include "harness.h"
#include "platform/portable/testing.h"

namespace {

struct DialogLog {
    std::vector<std::pair<UINT, WPARAM>> messages;
    LPARAM initParam = 0;
    bool ownerEnabledInside = true;
    HWND owner = nullptr;
};
DialogLog dialogLog;

// The prompt dialog's procedure: the text goes into item 1004; 1003 and 1005 end the dialog.
INT_PTR CALLBACK promptProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG || message == WM_COMMAND)
        dialogLog.messages.emplace_back(message, wParam);
    if (message == WM_INITDIALOG) {
        dialogLog.initParam = lParam;
        SendMessageW(GetDlgItem(dialog, 1004), WM_SETTEXT, 0, lParam);
        dialogLog.ownerEnabledInside = IsWindowEnabled(dialogLog.owner);
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == 1003 || LOWORD(wParam) == 1005))
        EndDialog(dialog, LOWORD(wParam));
    return FALSE;
}

std::vector<WORD> promptTemplate()
{
    return dialogTemplate(WS_POPUP | DS_MODALFRAME, 0, 20, 133, 110, u"",
                          {{WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY | WS_BORDER, 2, 2, 128, 91, 1004, 0x81, u""},
                           {WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 7, 96, 24, 10, 1005, 0x80, u"OK"},
                           {WS_CHILD | WS_VISIBLE | WS_TABSTOP, 36, 96, 68, 10, 1003, 0x80, u"Don't Show Again"}});
}

void runUntilIdle()
{
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0)) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

std::u16string textOfWindow(HWND w)
{
    WCHAR buffer[200] = {};
    GetWindowTextW(w, buffer, 200);
    return buffer;
}

class DialogTest : public PlatformTest {
protected:
    HWND main = nullptr;
    ScriptedUser user;
    void SetUp() override
    {
        PlatformTest::SetUp();
        dialogLog = DialogLog{};
        main = createLogger(WS_VISIBLE);
        dialogLog.owner = main;
    }
};

}  // namespace

TEST_F(DialogTest, ModalDialogRunsItsOwnLoopAndReturnsTheButtonPressed)
{
    struct Case {
        const char16_t* button;
        INT_PTR result;
    } cases[] = {{u"Don't Show Again", 1003}, {u"OK", 1005}};
    for (const Case& c : cases) {
        dialogLog.messages.clear();
        bool sawDialog = false;
        user.steps.push_back([&] {
            HWND box = portableModalTop();
            sawDialog = box != nullptr && !IsWindowEnabled(main);
            tapWindow(findByText(c.button));
        });
        user.install();
        std::vector<WORD> t = promptTemplate();
        INT_PTR r = DialogBoxIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(t.data()), main, promptProc,
                                            (LPARAM)u"Consider a lower dose.");
        EXPECT_EQ(r, c.result);
        EXPECT_TRUE(sawDialog) << "the dialog was up, its owner disabled, while the user answered";
        EXPECT_FALSE(dialogLog.ownerEnabledInside);
        EXPECT_TRUE(IsWindowEnabled(main)) << "the owner is enabled again";
        EXPECT_EQ(portableModalTop(), nullptr);
        ASSERT_GE(dialogLog.messages.size(), 2u);
        EXPECT_EQ(dialogLog.messages.front().first, UINT(WM_INITDIALOG));
        EXPECT_EQ(dialogLog.messages.back(), std::make_pair(UINT(WM_COMMAND), WPARAM(MAKEWPARAM(c.result, BN_CLICKED))));
    }
    EXPECT_EQ(dialogLog.initParam, (LPARAM)u"Consider a lower dose.");
}

TEST_F(DialogTest, TemplateItemsArePlacedInDialogUnitsAndKeepTheirIds)
{
    std::vector<WORD> t = promptTemplate();
    HWND dialog = CreateDialogIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(t.data()), main, promptProc,
                                             (LPARAM)u"text");
    ASSERT_TRUE(dialog);
    EXPECT_FALSE(IsWindowVisible(dialog)) << "the template has no WS_VISIBLE";
    HWND edit = GetDlgItem(dialog, 1004);
    HWND ok = GetDlgItem(dialog, 1005);
    ASSERT_TRUE(edit && ok);
    EXPECT_EQ(textOfWindow(edit), u"text");
    RECT client, item;
    GetWindowRect(dialog, &client);
    GetWindowRect(ok, &item);
    // 6 x 13 pixel base units: x 7 -> 11 (rounded), y 96 -> 156; the modal frame is 3 pixels.
    EXPECT_EQ(item.left - client.left, 3 + 11);
    EXPECT_EQ(item.top - client.top, 3 + 156);
    EXPECT_EQ(item.right - item.left, 36);
    EXPECT_EQ(item.bottom - item.top, 16);
    EXPECT_EQ(SendMessageW(dialog, DM_GETDEFID, 0, 0), MAKELRESULT(1005, DC_HASDEFID));
    EXPECT_EQ(GetParent(dialog), main);
    DestroyWindow(main);
    EXPECT_FALSE(IsWindow(dialog)) << "an owned dialog goes with its owner";
}

TEST_F(DialogTest, ExtendedTemplatesAreReadToo)
{
    std::vector<WORD> t = {1, 0xFFFF, 0, 0, 0, 0, WORD(WS_POPUP | WS_VISIBLE), WORD((WS_POPUP | WS_VISIBLE) >> 16), 1,
                           40, 95, 42, 70, 0, 0, 0};
    while (t.size() % 2)
        t.push_back(0);
    std::vector<WORD> item = {0, 0, 0, 0, WORD(WS_CHILD | WS_VISIBLE), WORD((WS_CHILD | WS_VISIBLE) >> 16),
                              0, 56, 41, 13, 1018, 0, 0xFFFF, 0x80, u'C', u'l', u'o', u's', u'e', 0, 0};
    t.insert(t.end(), item.begin(), item.end());
    HWND dialog = CreateDialogIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(t.data()), main, promptProc, 0);
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(textOfWindow(GetDlgItem(dialog, 1018)), u"Close");
}

namespace {
std::vector<int> keypadCommands;
INT_PTR CALLBACK keypadProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND) {
        keypadCommands.push_back(LOWORD(wParam));
        if (LOWORD(wParam) == 1018)
            DestroyWindow(dialog);
    }
    return (INT_PTR)DefWindowProcW(dialog, message, wParam, lParam);
}
}  // namespace

TEST_F(DialogTest, ModelessDialogButtonsSendTheirCommandsThroughTheMainLoop)
{
    keypadCommands.clear();
    std::vector<WORD> t = dialogTemplate(WS_POPUP | WS_VISIBLE | DS_MODALFRAME, 40, 95, 42, 70, u"",
                                         {{WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 13, 13, 1006, 0x80, u"1"},
                                          {WS_CHILD | WS_VISIBLE | WS_TABSTOP, 14, 0, 13, 13, 1007, 0x80, u"2"},
                                          {WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 56, 41, 13, 1018, 0x80, u"Close"}});
    HWND keypad = CreateDialogIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(t.data()), main, keypadProc, 0);
    ASSERT_TRUE(keypad);
    EXPECT_TRUE(IsWindowVisible(keypad));
    EXPECT_EQ(GetActiveWindow(), keypad);
    EXPECT_EQ(GetFocus(), GetDlgItem(keypad, 1006)) << "activation gives the focus to the first tab stop";
    EXPECT_EQ(portableModalTop(), nullptr) << "modeless";
    user.steps.push_back([&] { tapWindow(GetDlgItem(keypad, 1007)); });
    user.steps.push_back([&] { tapWindow(GetDlgItem(keypad, 1006)); });
    user.steps.push_back([&] { tapWindow(GetDlgItem(keypad, 1018)); });
    user.install();
    runUntilIdle();
    EXPECT_EQ(keypadCommands, (std::vector<int>{1007, 1006, 1018}));
    EXPECT_FALSE(IsWindow(keypad));
    EXPECT_EQ(GetActiveWindow(), main) << "the owner is active again";
}

TEST_F(DialogTest, MessageBoxReturnsWhatTheUserAnswered)
{
    struct Case {
        const char* name;
        UINT type;
        const char16_t* answer;   // nullptr: close the box
        int result;
    } cases[] = {
        {"OK", MB_OK, u"OK", IDOK},
        {"OK of OK/Cancel", MB_OKCANCEL, u"OK", IDOK},
        {"Cancel", MB_OKCANCEL, u"Cancel", IDCANCEL},
        {"Yes", MB_YESNO, u"Yes", IDYES},
        {"No", MB_YESNO, u"No", IDNO},
        {"closing OK/Cancel", MB_OKCANCEL, nullptr, IDCANCEL},
        {"closing OK alone", MB_OK, nullptr, IDOK},
    };
    for (const Case& c : cases) {
        std::vector<PortableWindowInfo> seen;
        user.steps.push_back([&] {
            seen = portableSnapshot();
            HWND box = portableModalTop();
            if (c.answer)
                tapWindow(findByText(c.answer));
            else
                PostMessageW(box, WM_CLOSE, 0, 0);
        });
        user.install();
        EXPECT_EQ(MessageBoxW(main, u"Please select a drug", u"Error", c.type), c.result) << c.name;
        bool caption = false, text = false;
        for (const PortableWindowInfo& w : seen) {
            caption |= w.modal && w.messageBox && w.text == u"Error" && w.visible;
            text |= w.className == u"STATIC" && w.text == u"Please select a drug" && w.visible;
        }
        EXPECT_TRUE(caption && text) << c.name << ": shown as a real window with caption and text";
        EXPECT_TRUE(IsWindowEnabled(main)) << c.name;
    }
}

TEST_F(DialogTest, YesNoBoxCannotBeClosedWithoutAnAnswer)
{
    user.steps.push_back([&] { PostMessageW(portableModalTop(), WM_CLOSE, 0, 0); });
    user.steps.push_back([&] { tapWindow(findByText(u"No")); });
    user.install();
    EXPECT_EQ(MessageBoxW(main, u"Sure?", u"Confirm", MB_YESNO), IDNO);
}

TEST_F(DialogTest, MessageBoxFromAModalDialogNestsAndQuitEndsEveryLoop)
{
    static int inner;
    inner = 0;
    struct Nested {
        static INT_PTR CALLBACK proc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
        {
            if (message == WM_COMMAND && LOWORD(wParam) == 1005) {
                inner = MessageBoxW(dialog, u"Inner", u"Alert", MB_OKCANCEL);
                EndDialog(dialog, 1005);
            }
            return FALSE;
        }
    };
    user.steps.push_back([&] { tapWindow(findByText(u"OK")); });   // the dialog's OK
    user.steps.push_back([&] { PostQuitMessage(3); });              // the program is told to quit
    user.install();
    std::vector<WORD> t = promptTemplate();
    INT_PTR r = DialogBoxIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(t.data()), main, Nested::proc, 0);
    EXPECT_EQ(inner, 0) << "the message box's loop ended on WM_QUIT";
    EXPECT_EQ(r, 1005);
    MSG m;
    EXPECT_FALSE(GetMessageW(&m, nullptr, 0, 0));
    EXPECT_EQ(m.wParam, 3u) << "WM_QUIT is posted again for the loop outside";
    EXPECT_EQ(portableModalTop(), nullptr);
}

TEST_F(DialogTest, EnterPressesTheDefaultButtonOfAModalDialog)
{
    user.steps.push_back([&] {
        PortableAction a;
        a.kind = PortableActionKind::Key;
        a.code = VK_RETURN;
        portablePushAction(a);
    });
    user.install();
    std::vector<WORD> t = promptTemplate();
    EXPECT_EQ(DialogBoxIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(t.data()), main, promptProc, 0), 1005);
}

TEST_F(DialogTest, AnEmptyInputSourceEndsAModalBoxSafely)
{
    EXPECT_EQ(MessageBoxW(nullptr, u"Could not find the Hierarchy records", u"Error", MB_OK), 0);
    MSG m;
    EXPECT_FALSE(GetMessageW(&m, nullptr, 0, 0));
}

TEST_F(DialogTest, MessageBoxTextIsWrappedInTheSystemFontAndTheBoxStaysOnTheScreen)
{
    portableSetTestFace(true);   // 6 pixels a character, lines 16 pixels high
    struct Case {
        const char* name;
        const char16_t* text;
        int lines;
    } cases[] = {
        {"one short line", u"Age required to continue", 1},
        {"a forced break", u"Line one\nLine two", 2},
        {"five words of six characters fit a line", u"abcde abcde abcde abcde abcde abcde abcde abcde abcde abcde", 2},
        {"a word longer than the line", u"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", 1},
    };
    for (const Case& c : cases) {
        int textHeight = 0;
        RECT box{};
        user.steps.push_back([&] {
            for (const PortableWindowInfo& w : portableSnapshot()) {
                if (w.className == u"STATIC" && w.text == c.text)
                    textHeight = w.rect.bottom - w.rect.top;
                if (w.messageBox)
                    box = w.rect;
            }
            tapWindow(findByText(u"OK"));
        });
        user.install();
        EXPECT_EQ(MessageBoxW(main, c.text, u"Error", MB_OK), IDOK) << c.name;
        EXPECT_EQ(textHeight, 16 * c.lines) << c.name;
        EXPECT_GE(box.left, 0) << c.name;
        EXPECT_LE(box.right, 240) << c.name;
        EXPECT_GE(box.top, 0) << c.name;
        EXPECT_LE(box.bottom, 320) << c.name;
    }
    portableSetTestFace(false);
}
