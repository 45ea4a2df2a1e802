// The built-in controls: what a user's tap, typing, pick or scroll makes each send to its
// parent, and what the program's own messages (BM_SETCHECK, WM_SETTEXT, LB_SETCURSEL, ...) do
// and do not notify, as Win32 documents.
#include "harness.h"

#include <functional>
#include <string>

namespace {

struct Notification {
    int id;
    int code;
    std::u16string state;   // check state, text or selection read back while notified
    bool operator==(const Notification&) const = default;
};

std::vector<Notification>& notifications()
{
    static std::vector<Notification> n;
    return n;
}

std::u16string stateOf(HWND control)
{
    WCHAR buffer[64] = {};
    WCHAR className[16] = {};
    GetClassNameW(control, className, 16);
    std::u16string cls = className;
    if (cls == u"BUTTON")
        return std::u16string(1, char16_t(u'0' + SendMessageW(control, BM_GETCHECK, 0, 0)));
    if (cls == u"LISTBOX")
        return std::u16string(1, char16_t(u'0' + SendMessageW(control, LB_GETCURSEL, 0, 0)));
    if (cls == u"COMBOBOX")
        return std::u16string(1, char16_t(u'0' + SendMessageW(control, CB_GETCURSEL, 0, 0)));
    GetWindowTextW(control, buffer, 64);
    return buffer;
}

LRESULT CALLBACK parentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    messageLog().push_back(LoggedMessage{window, message, wParam, lParam});
    if (message == WM_COMMAND && lParam)
        notifications().push_back({LOWORD(wParam), HIWORD(wParam), stateOf((HWND)lParam)});
    if (message == WM_DRAWITEM) {
        const DRAWITEMSTRUCT* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        notifications().push_back({int(d->CtlID), -int(WM_DRAWITEM), d->itemState & ODS_SELECTED ? u"selected" : u""});
    }
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

PortableAction action(PortableActionKind kind, HWND target)
{
    PortableAction a;
    a.kind = kind;
    a.target = target;
    return a;
}

class ControlTest : public PlatformTest {
protected:
    HWND parent = nullptr;
    ScriptedUser user;
    void SetUp() override
    {
        PlatformTest::SetUp();
        notifications().clear();
        WNDCLASSW wc{};
        wc.lpfnWndProc = parentProc;
        wc.lpszClassName = u"Parent";
        RegisterClassW(&wc);
        parent = CreateWindowExW(0, u"Parent", u"", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr, nullptr);
    }
    // Runs the user's steps (one per wait for input) and returns what the parent was told.
    std::vector<Notification> afterUser(std::vector<std::function<void()>> steps)
    {
        notifications().clear();
        for (auto& s : steps)
            user.steps.push_back(s);
        user.install();
        runUntilIdle();
        return notifications();
    }
};

}  // namespace

TEST_F(ControlTest, TappingAnAutoCheckBoxTogglesItAndSendsBnClickedWithTheNewState)
{
    HWND box = createControl(u"BUTTON", u"Sleep apnea", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 5, 30, 150, 16, parent, 11);
    std::vector<Notification> once = {{11, BN_CLICKED, u"1"}};
    EXPECT_EQ(afterUser({[&] { tapWindow(box); }}), once);
    std::vector<Notification> again = {{11, BN_CLICKED, u"0"}};
    EXPECT_EQ(afterUser({[&] { tapWindow(box); }}), again);
    EXPECT_EQ(GetFocus(), box) << "a tapped button takes the focus";
}

TEST_F(ControlTest, ProgramMessagesChangeButtonsWithoutNotifying)
{
    struct Case {
        const char* name;
        DWORD type;
        WPARAM set;
        LRESULT check;
    } cases[] = {
        {"check box checked", BS_AUTOCHECKBOX, BST_CHECKED, BST_CHECKED},
        {"two-state box refuses indeterminate", BS_AUTOCHECKBOX, BST_INDETERMINATE, BST_CHECKED},
        {"three-state box", BS_AUTO3STATE, BST_INDETERMINATE, BST_INDETERMINATE},
        {"push button has no check", BS_PUSHBUTTON, BST_CHECKED, 0},
    };
    for (const Case& c : cases) {
        HWND b = createControl(u"BUTTON", u"b", WS_CHILD | WS_VISIBLE | c.type, 0, 0, 50, 16, parent, 3);
        notifications().clear();
        SendMessageW(b, BM_SETCHECK, c.set, 0);
        EXPECT_EQ(SendMessageW(b, BM_GETCHECK, 0, 0), c.check) << c.name;
        EXPECT_TRUE(notifications().empty()) << c.name;
        DestroyWindow(b);
    }
}

TEST_F(ControlTest, OwnerDrawnButtonIsDrawnAtItsPaintInTheStateItIsThenIn)
{
    HWND b = createControl(u"button", u"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 5, 140, 230, 25, parent, 108);
    UpdateWindow(b);
    const Notification plain{108, -int(WM_DRAWITEM), u""}, selected{108, -int(WM_DRAWITEM), u"selected"},
        clicked{108, BN_CLICKED, u"0"};
    struct Step {
        const char* name;
        std::function<void()> act;
        std::vector<Notification> expected;
    } steps[] = {
        {"a tap draws it once, released", [&] { afterUser({[&] { tapWindow(b); }}); }, {clicked, plain}},
        {"pressed, then painted", [&] { SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, 0); }, {selected}},
        {"released, then painted", [&] { SendMessageW(b, WM_LBUTTONUP, 0, 0); }, {clicked, plain}},
        {"unchanged: not drawn again", [] {}, {}},
    };
    for (const Step& step : steps) {
        notifications().clear();
        step.act();
        UpdateWindow(b);
        EXPECT_EQ(notifications(), step.expected) << step.name;
    }
}

TEST_F(ControlTest, BmClickIsATapAndStaticsNotifyOnlyWithSsNotify)
{
    HWND b = createControl(u"BUTTON", u"Next", WS_CHILD | WS_VISIBLE, 204, 295, 33, 20, parent, 101);
    notifications().clear();
    SendMessageW(b, BM_CLICK, 0, 0);
    EXPECT_EQ(notifications(), (std::vector<Notification>{{101, BN_CLICKED, u"0"}}));
    HWND link = createControl(u"STATIC", u"How doses are calculated", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 2, 30, 150, 15, parent, 7);
    HWND plain = createControl(u"STATIC", u"Plain text", WS_CHILD | WS_VISIBLE, 2, 50, 150, 15, parent, 8);
    std::vector<Notification> got = afterUser({[&] { tapWindow(link); tapWindow(plain); }});
    EXPECT_EQ(got, (std::vector<Notification>{{7, STN_CLICKED, u"How doses are calculated"}}));
}

TEST_F(ControlTest, TypingIntoAnEditSendsEnChangeWithTheTextForEachCharacter)
{
    HWND edit = createControl(u"EDIT", u"", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_CENTER, 10, 30, 60, 18, parent, 42);
    std::vector<Notification> got = afterUser({[&] {
        tapWindow(edit);
        PortableAction a = action(PortableActionKind::Type, nullptr);
        a.text = u"12a\b";
        portablePushAction(a);
    }});
    std::vector<Notification> expected = {
        {42, EN_SETFOCUS, u""},  {42, EN_UPDATE, u"1"},   {42, EN_CHANGE, u"1"},  {42, EN_UPDATE, u"12"},
        {42, EN_CHANGE, u"12"},  {42, EN_UPDATE, u"12a"}, {42, EN_CHANGE, u"12a"}, {42, EN_UPDATE, u"12"},
        {42, EN_CHANGE, u"12"}};
    EXPECT_EQ(got, expected);
}

TEST_F(ControlTest, EditNotificationsFollowWindowsRules)
{
    struct Case {
        const char* name;
        DWORD style;
        std::function<void(HWND)> act;
        std::vector<int> codes;
        const char16_t* text;
    } cases[] = {
        {"creation text does not notify", 0, [](HWND) {}, {}, u"7"},
        {"WM_SETTEXT on a single-line edit notifies", 0,
         [](HWND e) { SendMessageW(e, WM_SETTEXT, 0, (LPARAM)u"12"); }, {EN_UPDATE, EN_CHANGE}, u"12"},
        {"WM_SETTEXT on a multi-line edit does not", ES_MULTILINE,
         [](HWND e) { SendMessageW(e, WM_SETTEXT, 0, (LPARAM)u"prompt"); }, {}, u"prompt"},
        {"a read-only edit refuses typing", ES_READONLY,
         [](HWND e) { SendMessageW(e, WM_CHAR, '5', 0); }, {}, u"7"},
        {"backspace on an empty edit changes nothing", 0,
         [](HWND e) { SendMessageW(e, WM_SETTEXT, 0, (LPARAM)u""); notifications().clear(); SendMessageW(e, WM_CHAR, VK_BACK, 0); },
         {}, u""},
        {"after WM_SETTEXT the caret is at the start", 0,
         [](HWND e) { SendMessageW(e, WM_SETTEXT, 0, (LPARAM)u"2"); notifications().clear(); SendMessageW(e, WM_CHAR, '1', 0); },
         {EN_UPDATE, EN_CHANGE}, u"12"},
    };
    for (const Case& c : cases) {
        notifications().clear();
        HWND e = createControl(u"EDIT", u"7", WS_CHILD | WS_VISIBLE | c.style, 0, 0, 60, 18, parent, 9);
        c.act(e);
        std::vector<int> codes;
        for (const Notification& n : notifications())
            codes.push_back(n.code);
        EXPECT_EQ(codes, c.codes) << c.name;
        WCHAR text[20];
        GetWindowTextW(e, text, 20);
        EXPECT_EQ(std::u16string(text), c.text) << c.name;
        DestroyWindow(e);
    }
}

TEST_F(ControlTest, ReadOnlyEditTakesTheFocusAndGetTextTruncates)
{
    HWND link = createControl(u"EDIT", u"Morphine", WS_CHILD | WS_VISIBLE | ES_READONLY | ES_CENTER, 0, 0, 80, 18, parent, 77);
    std::vector<Notification> got = afterUser({[&] { tapWindow(link); }});
    EXPECT_EQ(got, (std::vector<Notification>{{77, EN_SETFOCUS, u"Morphine"}}));
    WCHAR small[4];
    EXPECT_EQ(SendMessageW(link, WM_GETTEXT, 4, (LPARAM)small), 3);
    EXPECT_EQ(std::u16string(small), u"Mor");
    EXPECT_EQ(SendMessageW(link, WM_GETTEXT, 0, (LPARAM)small), 0);
}

TEST_F(ControlTest, ListBoxMessagesAndAUsersPick)
{
    HWND list = createControl(u"LISTBOX", u"v", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | LBS_NOTIFY,
                              10, 30, 100, 18 * 3 + 2, parent, 5);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), LB_ERR);
    for (const char16_t* t : {u"Morphine", u"Fentanyl", u"Hydromorphone", u"Oxycodone"})
        SendMessageW(list, LB_ADDSTRING, 0, (LPARAM)t);
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 4);
    notifications().clear();
    EXPECT_EQ(SendMessageW(list, LB_SETCURSEL, 1, 0), 1);
    EXPECT_EQ(SendMessageW(list, LB_SETCURSEL, 9, 0), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
    EXPECT_TRUE(notifications().empty()) << "LB_SETCURSEL does not notify";
    std::vector<Notification> got = afterUser({[&] {
        PortableAction a = action(PortableActionKind::Pick, list);
        a.index = 3;   // below the three lines in view: the user scrolls the list first
        portablePushAction(a);
    }});
    EXPECT_EQ(got, (std::vector<Notification>{{5, LBN_SETFOCUS, u"1"}, {5, LBN_SELCHANGE, u"3"}}));
    WCHAR text[20];
    EXPECT_EQ(SendMessageW(list, LB_GETTEXT, 3, (LPARAM)text), 9);
    EXPECT_EQ(std::u16string(text), u"Oxycodone");
    got = afterUser({[&] {
        PortableAction a = action(PortableActionKind::Pick, list);
        a.index = 3;
        portablePushAction(a);
    }});
    EXPECT_EQ(got, (std::vector<Notification>{{5, LBN_SELCHANGE, u"3"}})) << "picking the selected line notifies again";
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), LB_ERR);
}

TEST_F(ControlTest, ExtendedSelectionListRefusesLbSetCurSelAndReportsTheTappedLine)
{
    HWND list = createControl(u"LISTBOX", u"v", WS_CHILD | WS_VISIBLE | LBS_EXTENDEDSEL | LBS_NOTIFY, 0, 0, 100, 200, parent, 5);
    for (const char16_t* t : {u"a", u"b", u"c"})
        SendMessageW(list, LB_ADDSTRING, 0, (LPARAM)t);
    EXPECT_EQ(SendMessageW(list, LB_SETCURSEL, 1, 0), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_SETCURSEL, (WPARAM)-1, 0), LB_ERR);
    afterUser({[&] {
        PortableAction a = action(PortableActionKind::Pick, list);
        a.index = 2;
        portablePushAction(a);
    }});
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(SendMessageW(list, LB_GETSELCOUNT, 0, 0), 1);
    EXPECT_EQ(SendMessageW(list, LB_GETSEL, 2, 0), 1);
    SendMessageW(list, LB_SETSEL, FALSE, -1);
    EXPECT_EQ(SendMessageW(list, LB_GETSELCOUNT, 0, 0), 0);
    SendMessageW(list, LB_SETSEL, TRUE, 1);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1) << "the line selected takes the caret";
}

TEST_F(ControlTest, SortedListAndFindString)
{
    HWND list = createControl(u"LISTBOX", u"", WS_CHILD | LBS_SORT, 0, 0, 100, 100, parent, 5);
    EXPECT_EQ(SendMessageW(list, LB_ADDSTRING, 0, (LPARAM)u"pear"), 0);
    EXPECT_EQ(SendMessageW(list, LB_ADDSTRING, 0, (LPARAM)u"Apple"), 0);
    EXPECT_EQ(SendMessageW(list, LB_ADDSTRING, 0, (LPARAM)u"banana"), 1);
    EXPECT_EQ(SendMessageW(list, LB_FINDSTRING, (WPARAM)-1, (LPARAM)u"BAN"), 1);
    EXPECT_EQ(SendMessageW(list, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)u"ban"), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_GETTEXTLEN, 7, 0), LB_ERR);
}

TEST_F(ControlTest, DropDownListNotifiesSelChangeOnlyOnAUsersPick)
{
    HWND combo = createControl(u"COMBOBOX", u"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 55, 295, 120, 200, parent, 106);
    RECT r;
    GetWindowRect(combo, &r);
    EXPECT_EQ(r.bottom - r.top, 20) << "the closed field, not the dropped height";
    for (const char16_t* t : {u"Prescription", u"Caveats", u"Monitoring"})
        SendMessageW(combo, CB_ADDSTRING, 0, (LPARAM)t);
    notifications().clear();
    EXPECT_EQ(SendMessageW(combo, CB_SETCURSEL, 0, 0), 0);
    EXPECT_TRUE(notifications().empty());
    std::vector<Notification> got = afterUser({[&] {
        PortableAction a = action(PortableActionKind::Pick, combo);
        a.index = 2;
        portablePushAction(a);
    }});
    std::vector<Notification> expected = {{106, CBN_SETFOCUS, u"0"}, {106, CBN_DROPDOWN, u"0"}, {106, CBN_SELENDOK, u"2"},
                                          {106, CBN_CLOSEUP, u"2"}, {106, CBN_SELCHANGE, u"2"}};
    EXPECT_EQ(got, expected);
    WCHAR text[100];
    EXPECT_EQ(SendMessageW(combo, CB_GETLBTEXT, SendMessageW(combo, CB_GETCURSEL, 0, 0), (LPARAM)text), 10);
    EXPECT_EQ(std::u16string(text), u"Monitoring");
    GetWindowTextW(combo, text, 100);
    EXPECT_EQ(std::u16string(text), u"Monitoring");
    EXPECT_EQ(SendMessageW(combo, CB_GETLBTEXT, 5, (LPARAM)text), CB_ERR);
    EXPECT_EQ(SendMessageW(combo, CB_SETCURSEL, 5, 0), CB_ERR);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), CB_ERR) << "an index out of range clears the choice";
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 0);
}

TEST_F(ControlTest, ScrollInfoIsClampedAndAUsersScrollGoesToTheParent)
{
    HWND bar = createControl(u"SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | SBS_VERT, 225, 27, 15, 263, parent, 100);
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 39, 16, 30, 0};
    EXPECT_EQ(SetScrollInfo(bar, SB_CTL, &si, TRUE), 24) << "position kept within max - page + 1";
    SCROLLINFO back{sizeof back, SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(bar, SB_CTL, &back));
    EXPECT_EQ(back.nMax, 39);
    EXPECT_EQ(back.nPage, 16u);
    struct Case {
        const char* name;
        int code;
        int position;
        std::vector<WPARAM> sent;
    } cases[] = {
        {"line down", SB_LINEDOWN, 0, {MAKEWPARAM(SB_LINEDOWN, 0), MAKEWPARAM(SB_ENDSCROLL, 0)}},
        {"page up", SB_PAGEUP, 0, {MAKEWPARAM(SB_PAGEUP, 0), MAKEWPARAM(SB_ENDSCROLL, 0)}},
        {"thumb to 5", SB_THUMBTRACK, 5,
         {MAKEWPARAM(SB_THUMBTRACK, 5), MAKEWPARAM(SB_THUMBPOSITION, 5), MAKEWPARAM(SB_ENDSCROLL, 0)}},
        {"thumb beyond the end", SB_THUMBTRACK, 90,
         {MAKEWPARAM(SB_THUMBTRACK, 24), MAKEWPARAM(SB_THUMBPOSITION, 24), MAKEWPARAM(SB_ENDSCROLL, 0)}},
    };
    for (const Case& c : cases) {
        messageLog().clear();
        afterUser({[&] {
            PortableAction a = action(PortableActionKind::Scroll, bar);
            a.code = c.code;
            a.index = c.position;
            portablePushAction(a);
        }});
        std::vector<WPARAM> sent;
        for (const LoggedMessage& m : messageLog())
            if (m.message == WM_VSCROLL && (HWND)m.lParam == bar)
                sent.push_back(m.wParam);
        EXPECT_EQ(sent, c.sent) << c.name;
    }
    GetScrollInfo(bar, SB_CTL, &back);
    EXPECT_EQ(back.nPos, 24) << "the scroll bar does not move itself";
}

TEST_F(ControlTest, WmSetFontIsKeptForTheSnapshot)
{
    HWND label = createControl(u"STATIC", u"Zura Management", WS_CHILD | WS_VISIBLE, 30, 3, 195, 16, parent, 0);
    HFONT font = reinterpret_cast<HFONT>(std::uintptr_t(0x1000));
    SendMessageW(label, WM_SETFONT, (WPARAM)font, TRUE);
    EXPECT_EQ((HFONT)SendMessageW(label, WM_GETFONT, 0, 0), font);
    bool found = false;
    for (const PortableWindowInfo& w : portableSnapshot()) {
        if (w.window == label) {
            found = true;
            EXPECT_EQ(w.font, font);
            EXPECT_EQ(w.className, u"STATIC");
            EXPECT_EQ(w.rect.left, 30);
            EXPECT_TRUE(w.visible);
        }
    }
    EXPECT_TRUE(found);
}
