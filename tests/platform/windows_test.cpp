// Windows, messages, focus and painting, checked as the message sequences Win32 documents.
#include "harness.h"
#include "platform/portable/internal.h"

using Seq = std::vector<std::pair<UINT, WPARAM>>;

TEST_F(PlatformTest, CreatingAVisibleTopLevelWindowSendsCreationShowAndActivation)
{
    HWND main = createLogger(WS_VISIBLE);
    ASSERT_TRUE(main);
    Seq expected = {{WM_NCCREATE, 0}, {WM_CREATE, 0}, {WM_SIZE, 0}, {WM_MOVE, 0}, {WM_SHOWWINDOW, TRUE},
                    {WM_ACTIVATE, WA_ACTIVE}, {WM_SETFOCUS, 0}};
    EXPECT_EQ(logged({WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW, WM_ACTIVATE, WM_SETFOCUS}), expected);
    EXPECT_EQ(GetFocus(), main);
    EXPECT_EQ(GetActiveWindow(), main);
    WCHAR text[10];
    EXPECT_EQ(GetWindowTextW(main, text, 10), 3);
    EXPECT_EQ(std::u16string(text), u"log");
}

TEST_F(PlatformTest, ChildCreationNotifiesTheParentAndHiddenWindowsGetNoShowMessage)
{
    HWND main = createLogger(0);
    messageLog().clear();
    HWND child = createLogger(WS_CHILD, main);
    ASSERT_TRUE(child);
    bool notified = false;
    for (const LoggedMessage& m : messageLog())
        if (m.window == main && m.message == WM_PARENTNOTIFY && LOWORD(m.wParam) == WM_CREATE && (HWND)m.lParam == child)
            notified = true;
    EXPECT_TRUE(notified);
    EXPECT_TRUE(logged({WM_SHOWWINDOW}).empty());
    EXPECT_FALSE(IsWindowVisible(child));
}

static LRESULT CALLBACK refusingProc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == WM_CREATE)
        return -1;
    return DefWindowProcW(w, m, wp, lp);
}

TEST_F(PlatformTest, CreationFailsForUnknownClassesAndWhenWmCreateRefuses)
{
    EXPECT_EQ(CreateWindowExW(0, u"NoSuchClass", u"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = refusingProc;
    wc.lpszClassName = u"Refusing";
    ASSERT_TRUE(RegisterClassW(&wc));
    EXPECT_EQ(RegisterClassW(&wc), 0) << "a class name is registered once";
    EXPECT_EQ(CreateWindowExW(0, u"Refusing", u"", WS_VISIBLE, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(GetActiveWindow(), nullptr);
}

// An application class of a built-in name is found first while it is registered, however
// the name is spelt, and the built-in class again once it is gone.
TEST_F(PlatformTest, AnApplicationClassOfABuiltInNameTakesItsPlaceUntilUnregistered)
{
    auto procOf = [](const char16_t* name) {
        HWND w = CreateWindowExW(0, name, u"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        WNDPROC proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(w, GWLP_WNDPROC));
        DestroyWindow(w);
        return proc;
    };
    WNDPROC builtIn = procOf(u"Button");
    WNDCLASSW wc{};
    wc.lpfnWndProc = refusingProc;
    wc.lpszClassName = u"BUTTON";
    ASSERT_TRUE(RegisterClassW(&wc));
    WNDCLASSW found{};
    ASSERT_TRUE(GetClassInfoW(nullptr, u"button", &found));
    EXPECT_EQ(found.lpfnWndProc, refusingProc);
    EXPECT_EQ(CreateWindowExW(0, u"Button", u"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr)
        << "made by the refusing class";
    ASSERT_TRUE(UnregisterClassW(u"BUTTON", nullptr));
    EXPECT_EQ(procOf(u"button"), builtIn);
}

TEST_F(PlatformTest, DestroyWindowDestroysOwnedWindowsFirstThenParentBeforeChildren)
{
    HWND main = createLogger(WS_VISIBLE);
    HWND child = createLogger(WS_CHILD | WS_VISIBLE, main);
    HWND grandchild = createLogger(WS_CHILD | WS_VISIBLE, child);
    HWND owned = createLogger(WS_POPUP | WS_VISIBLE, main);
    messageLog().clear();
    ASSERT_TRUE(DestroyWindow(main));
    std::vector<std::pair<HWND, UINT>> order;
    for (const LoggedMessage& m : messageLog())
        if (m.message == WM_DESTROY || m.message == WM_NCDESTROY)
            order.emplace_back(m.window, m.message);
    std::vector<std::pair<HWND, UINT>> expected = {
        {owned, WM_DESTROY}, {owned, WM_NCDESTROY}, {main, WM_DESTROY}, {child, WM_DESTROY},
        {grandchild, WM_DESTROY}, {grandchild, WM_NCDESTROY}, {child, WM_NCDESTROY}, {main, WM_NCDESTROY}};
    EXPECT_EQ(order, expected);
    for (HWND w : {main, child, grandchild, owned})
        EXPECT_FALSE(IsWindow(w));
    EXPECT_FALSE(DestroyWindow(main)) << "a stale handle is refused, not reused";
    EXPECT_EQ(SendMessageW(main, WM_GETTEXTLENGTH, 0, 0), 0);
}

TEST_F(PlatformTest, GeometryIsInScreenCoordinatesOnA240By320Screen)
{
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 240);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 320);
    HWND main = createLogger(WS_VISIBLE);
    HWND panel = createLogger(WS_CHILD | WS_VISIBLE | WS_BORDER, main);
    MoveWindow(panel, 10, 20, 100, 50, TRUE);
    HWND button = createControl(u"button", u"Next", WS_CHILD | WS_VISIBLE, 5, 6, 33, 20, panel, 101);
    RECT r;
    ASSERT_TRUE(GetWindowRect(button, &r));
    EXPECT_EQ(r.left, 10 + 1 + 5);   // the panel's 1-pixel border moves its client area
    EXPECT_EQ(r.top, 20 + 1 + 6);
    EXPECT_EQ(r.right - r.left, 33);
    EXPECT_EQ(r.bottom - r.top, 20);
    EXPECT_EQ(GetDlgItem(panel, 101), button);
    EXPECT_EQ(GetDlgCtrlID(button), 101);
    EXPECT_EQ(GetParent(button), panel);
    HWND popup = createLogger(WS_POPUP, button);
    EXPECT_EQ(GetParent(popup), main) << "a pop-up's parent is its owner, the top-level window";
}

TEST_F(PlatformTest, FindWindowMatchesClassAndTitleAndSetForegroundAcceptsTheLowBit)
{
    HWND first = createLogger(WS_VISIBLE);
    HWND second = CreateWindowExW(0, u"logger", u"Dolvara", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(FindWindowW(u"LOGGER", u"Dolvara"), second);
    EXPECT_EQ(FindWindowW(u"Logger", u"Nothing"), nullptr);
    EXPECT_EQ(FindWindowW(nullptr, u"log"), first);
    EXPECT_EQ(GetActiveWindow(), second);
    EXPECT_TRUE(SetForegroundWindow((HWND)((UINT_PTR)first | 1)));
    EXPECT_EQ(GetActiveWindow(), first);
}

TEST_F(PlatformTest, SetFocusSendsKillFocusThenSetFocusAndHidingTheFocusReturnsItToTheParent)
{
    HWND main = createLogger(WS_VISIBLE);
    HWND a = createLogger(WS_CHILD | WS_VISIBLE, main);
    HWND b = createLogger(WS_CHILD | WS_VISIBLE, main);
    SetFocus(a);
    messageLog().clear();
    EXPECT_EQ(SetFocus(b), a);
    ASSERT_EQ(messageLog().size(), 2u);
    EXPECT_EQ(messageLog()[0].window, a);
    EXPECT_EQ(messageLog()[0].message, UINT(WM_KILLFOCUS));
    EXPECT_EQ((HWND)messageLog()[0].wParam, b);
    EXPECT_EQ(messageLog()[1].window, b);
    EXPECT_EQ(messageLog()[1].message, UINT(WM_SETFOCUS));
    messageLog().clear();
    SetFocus(b);
    EXPECT_TRUE(messageLog().empty()) << "focusing the focus window again sends nothing";
    ShowWindow(b, SW_HIDE);
    EXPECT_EQ(GetFocus(), main);
}

TEST_F(PlatformTest, PostedMessagesComeInOrderBeforePaintingAndQuitEndsTheLoop)
{
    HWND main = createLogger(WS_VISIBLE);
    PostMessageW(main, WM_USER + 1, 1, 0);
    PostMessageW(main, WM_USER + 2, 2, 0);
    PostQuitMessage(7);
    MSG m;
    std::vector<UINT> got;
    while (GetMessageW(&m, nullptr, 0, 0)) {
        got.push_back(m.message);
        DispatchMessageW(&m);
    }
    EXPECT_EQ(got, (std::vector<UINT>{WM_USER + 1, WM_USER + 2}));
    EXPECT_EQ(m.message, UINT(WM_QUIT));
    EXPECT_EQ(m.wParam, 7u);
    EXPECT_TRUE(logged({WM_PAINT}).empty()) << "WM_QUIT comes before painting";
    ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, UINT(WM_PAINT));
    DispatchMessageW(&m);
    EXPECT_FALSE(GetMessageW(&m, nullptr, 0, 0)) << "waiting without an input source ends the loop";
    EXPECT_EQ(m.wParam, 0u);
    EXPECT_EQ(logged({WM_PAINT}).size(), 1u) << "a window is painted once per invalidation";
}

TEST_F(PlatformTest, PaintingFollowsInvalidationAndHidingAChildInvalidatesItsPlace)
{
    HWND main = createLogger(WS_VISIBLE);
    HWND child = createControl(u"BUTTON", u"Info", WS_CHILD | WS_VISIBLE, 2, 295, 50, 20, main, 112);
    RECT u;
    ASSERT_TRUE(portableWindowUpdateRect(main, &u));
    EXPECT_EQ(u.top, 0);
    UpdateWindow(main);
    EXPECT_FALSE(portableWindowUpdateRect(main, &u)) << "UpdateWindow painted it";
    ShowWindow(child, SW_HIDE);
    ASSERT_TRUE(portableWindowUpdateRect(main, &u));
    EXPECT_EQ(u.top, 295);
    EXPECT_EQ(u.left, 2);
    ValidateRect(main, nullptr);
    EXPECT_FALSE(portableWindowUpdateRect(main, &u));
}

TEST_F(PlatformTest, MessagesToADestroyedWindowAreDropped)
{
    HWND main = createLogger(WS_VISIBLE);
    HWND other = createLogger(WS_VISIBLE);
    PostMessageW(other, WM_USER, 0, 0);
    DestroyWindow(other);
    EXPECT_FALSE(PostMessageW(other, WM_USER, 0, 0));
    messageLog().clear();
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0))
        DispatchMessageW(&m);
    for (const LoggedMessage& l : messageLog())
        EXPECT_NE(l.message, UINT(WM_USER));
    EXPECT_TRUE(IsWindow(main));
}

TEST_F(PlatformTest, AcceleratorCtrlQSendsItsCommandAndPlainQDoesNot)
{
    HWND main = createLogger(WS_VISIBLE);
    ACCEL table[] = {{FVIRTKEY | FCONTROL | 0x80, 'Q', 1}};
    HACCEL accel = CreateAcceleratorTableW(table, 1);
    ASSERT_TRUE(accel);
    struct Case {
        const char* name;
        bool control;
        bool translated;
    } cases[] = {{"ctrl+q", true, true}, {"q", false, false}};
    for (const Case& c : cases) {
        messageLog().clear();
        ScriptedUser user;
        user.steps.push_back([&] {
            PortableAction a;
            a.kind = PortableActionKind::Key;
            a.code = 'Q';
            a.control = c.control;
            portablePushAction(a);
        });
        user.install();
        MSG m;
        int consumed = 0;
        while (GetMessageW(&m, nullptr, 0, 0)) {
            if (TranslateAcceleratorW(main, accel, &m)) {
                ++consumed;
                continue;
            }
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        Seq commands = logged({WM_COMMAND});
        EXPECT_EQ(consumed, c.translated ? 1 : 0) << c.name;
        Seq expectedCommands, expectedChars;
        if (c.translated)
            expectedCommands.push_back({WM_COMMAND, MAKEWPARAM(1, 1)});
        else
            expectedChars.push_back({WM_CHAR, 'q'});
        EXPECT_EQ(commands, expectedCommands) << c.name;
        EXPECT_EQ(logged({WM_CHAR}), expectedChars) << c.name;
    }
    EXPECT_GE(GetKeyState(VK_CONTROL), 0) << "the control key was released";
}

TEST_F(PlatformTest, ActionsOnDisabledOrDestroyedWindowsAreDropped)
{
    HWND main = createLogger(WS_VISIBLE);
    HWND button = createControl(u"BUTTON", u"Go", WS_CHILD | WS_VISIBLE, 0, 0, 40, 20, main, 5);
    HWND gone = createControl(u"BUTTON", u"Gone", WS_CHILD | WS_VISIBLE, 0, 30, 40, 20, main, 6);
    DestroyWindow(gone);
    EnableWindow(main, FALSE);
    ScriptedUser user;
    user.steps.push_back([&] { tapWindow(button); tapWindow(gone); });
    user.install();
    messageLog().clear();
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0))
        DispatchMessageW(&m);
    EXPECT_TRUE(logged({WM_COMMAND}).empty());
}

TEST_F(PlatformTest, WindowFromPointFindsTheTopmostVisibleEnabledWindowAndTapAtUsesIt)
{
    HWND main = createLogger(WS_VISIBLE);
    HWND under = createControl(u"BUTTON", u"under", WS_CHILD | WS_VISIBLE, 10, 10, 100, 40, main, 1);
    HWND over = createControl(u"BUTTON", u"over", WS_CHILD | WS_VISIBLE, 50, 20, 100, 40, main, 2);
    HWND off = createControl(u"BUTTON", u"off", WS_CHILD | WS_VISIBLE | WS_DISABLED, 10, 100, 50, 20, main, 3);
    HWND hidden = createControl(u"BUTTON", u"hidden", WS_CHILD, 10, 150, 50, 20, main, 4);
    struct Case {
        const char* name;
        POINT point;
        HWND expected;
    } cases[] = {
        {"only the first", {15, 15}, under},   {"both: the one made first is on top", {60, 30}, under},
        {"a disabled child", {15, 105}, main}, {"a hidden child", {15, 155}, main},
        {"off the screen", {500, 500}, nullptr},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WindowFromPoint(c.point), c.expected) << c.name;
    (void)off;
    (void)hidden;
    ScriptedUser user;
    user.steps.push_back([] {
        PortableAction a;
        a.kind = PortableActionKind::TapAt;
        a.point = POINT{60, 30};
        portablePushAction(a);
    });
    user.install();
    messageLog().clear();
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0))
        DispatchMessageW(&m);
    EXPECT_EQ(logged({WM_COMMAND}), (Seq{{WM_COMMAND, MAKEWPARAM(1, BN_CLICKED)}}));
    EXPECT_EQ(WindowFromPoint(POINT{120, 50}), over);
}

// Paint messages come in the order of the window tree (top-level windows, then each window
// before its children), whatever order the windows were invalidated in; a hidden window's
// pending paint waits until it is shown, and a destroyed one's is forgotten.
TEST_F(PlatformTest, PaintingFollowsTheTreeOrderNotTheOrderOfInvalidation)
{
    HWND main = createLogger(WS_VISIBLE);
    HWND a = createLogger(WS_CHILD | WS_VISIBLE, main);
    HWND a1 = createLogger(WS_CHILD | WS_VISIBLE, a);
    HWND b = createLogger(WS_CHILD | WS_VISIBLE, main);
    HWND hidden = createLogger(WS_CHILD, main);
    HWND inHidden = createLogger(WS_CHILD | WS_VISIBLE, hidden);
    auto painted = [] {
        messageLog().clear();
        MSG m;
        while (GetMessageW(&m, nullptr, 0, 0))
            DispatchMessageW(&m);
        std::vector<HWND> order;
        for (const LoggedMessage& l : messageLog())
            if (l.message == WM_PAINT)
                order.push_back(l.window);
        return order;
    };
    painted();
    for (HWND w : {b, inHidden, a1, main})
        InvalidateRect(w, nullptr, TRUE);
    EXPECT_EQ(painted(), (std::vector<HWND>{main, a1, b}));
    ShowWindow(hidden, SW_SHOW);
    EXPECT_EQ(painted(), (std::vector<HWND>{hidden, inHidden}));
    InvalidateRect(a1, nullptr, TRUE);
    DestroyWindow(a);
    InvalidateRect(b, nullptr, TRUE);
    EXPECT_EQ(painted(), (std::vector<HWND>{main, b})) << "main repaints where a was";
}

// A destroyed window's handle keeps naming no window while thousands of others are made and
// destroyed; addresses that are not the start of a window record are no windows either.
TEST_F(PlatformTest, AStaleHandleStaysStaleWhileManyWindowsComeAndGo)
{
    HWND main = createLogger(WS_VISIBLE);
    HWND gone = createLogger(WS_CHILD | WS_VISIBLE, main);
    DestroyWindow(gone);
    for (int i = 0; i < 4000; i++) {
        HWND w = createControl(u"STATIC", u"x", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, main, 1);
        ASSERT_NE(w, gone);
        ASSERT_FALSE(IsWindow(gone));
        DestroyWindow(w);
    }
    EXPECT_FALSE(SetWindowTextW(gone, u"stale"));
    int notAWindow = 0;
    EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(&notAWindow)));
    EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(reinterpret_cast<char*>(main) + 8)));
    EXPECT_TRUE(IsWindow(main));
}
