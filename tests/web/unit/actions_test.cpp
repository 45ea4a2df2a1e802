// zura-web's program-thread half without the server: the screen read from a window tree, and
// actions checked against it before they become the platform's user actions.
#include "hosts/web/web.h"
#include "platform/portable/host.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>

namespace {

COLORREF titleColor = RGB(255, 255, 255);   // the program's answer, which only it knows to change

LRESULT CALLBACK parentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CTLCOLORSTATIC && GetDlgCtrlID((HWND)lParam) == 3) {
        SetTextColor((HDC)wParam, titleColor);
        return (LRESULT)GetStockObject(HOLLOW_BRUSH);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

class WebActions : public ::testing::Test {
protected:
    HWND main = nullptr, check = nullptr, list = nullptr, bar = nullptr, hidden = nullptr;

    HWND child(const char16_t* cls, const char16_t* text, DWORD style, int x, int y, int w, int h, int id)
    {
        return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, main, (HMENU)(UINT_PTR)id,
                               nullptr, nullptr);
    }

    void SetUp() override
    {
        portableResetWindows();
        WNDCLASSW wc{};
        wc.lpfnWndProc = parentProc;
        wc.lpszClassName = u"WebTest";
        RegisterClassW(&wc);
        main = CreateWindowExW(0, u"WebTest", u"Test", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr, nullptr);
        check = child(u"BUTTON", u"Sleep apnea", BS_AUTOCHECKBOX, 5, 30, 150, 16, 1);
        list = child(u"LISTBOX", u"", WS_BORDER | LBS_NOTIFY, 5, 60, 100, 40, 2);
        for (const char16_t* t : {u"Morphine", u"Fentanyl"})
            SendMessageW(list, LB_ADDSTRING, 0, (LPARAM)t);
        child(u"STATIC", u"Title", 0, 30, 3, 100, 16, 3);
        bar = child(u"SCROLLBAR", nullptr, SBS_VERT, 225, 27, 15, 263, 100);
        SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 39, 16, 0, 0};
        SetScrollInfo(bar, SB_CTL, &si, TRUE);
        hidden = CreateWindowExW(0, u"BUTTON", u"Hidden", WS_CHILD, 5, 200, 50, 20, main, (HMENU)9, nullptr, nullptr);
    }
    void TearDown() override
    {
        portableResetWindows();
        titleColor = RGB(255, 255, 255);
    }

    int perform(const char* json, std::string* error = nullptr)
    {
        std::string ignored;
        return webPerformAction(nlohmann::json::parse(json), error ? error : &ignored);
    }
    std::string id(HWND w) { return webWindowId(w); }

    // The control of that id on the screen, null when none is shown.
    static nlohmann::json shown(int ctrlId)
    {
        nlohmann::json screen = webScreen();
        for (const nlohmann::json& w : screen["windows"])
            if (w["ctrlId"] == ctrlId && w["depth"] == 1)
                return w;
        return nullptr;
    }
    HFONT font(int height)
    {
        LOGFONTW request{};
        request.lfHeight = -height;
        return CreateFontIndirectW(&request);
    }
};

TEST_F(WebActions, TheScreenListsVisibleWindowsWithTheirState)
{
    SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
    nlohmann::json screen = webScreen();
    EXPECT_EQ(screen["width"], 240);
    EXPECT_EQ(screen["height"], 320);
    std::map<std::string, nlohmann::json> byText;
    for (const nlohmann::json& w : screen["windows"])
        byText[w["text"].get<std::string>() + "/" + w["kind"].get<std::string>()] = w;
    EXPECT_EQ(byText.count("Hidden/push"), 0u) << "hidden windows are not drawn";
    ASSERT_EQ(byText.count("Sleep apnea/check"), 1u);
    const nlohmann::json& c = byText["Sleep apnea/check"];
    EXPECT_EQ(c["check"], 1);
    EXPECT_EQ(c["rect"], nlohmann::json::array({5, 30, 150, 16}));
    EXPECT_EQ(c["font"]["file"], "DejaVuSans.ttf");
    EXPECT_EQ(c["font"]["size"], 11);
    EXPECT_EQ(c["font"]["height"], 13);
    const nlohmann::json& l = byText["/listbox"];
    EXPECT_EQ(l["items"], nlohmann::json::array({"Morphine", "Fentanyl"}));
    EXPECT_EQ(l["selected"], -1);
    EXPECT_EQ(l["client"], nlohmann::json::array({6, 61, 98, 38})) << "inside the border";
    EXPECT_EQ(byText["/scrollbar"]["scroll"]["max"], 39);
    EXPECT_EQ(byText["/scrollbar"]["scroll"]["page"], 16);
    EXPECT_EQ(byText["Title/static"]["colors"]["text"], "#ffffff");
    EXPECT_TRUE(byText["Title/static"]["colors"]["background"].is_null()) << "a hollow brush";
    EXPECT_TRUE(byText["Sleep apnea/check"]["colors"].is_null()) << "left to the system";
    EXPECT_TRUE(byText["Test/window"].contains("depth"));
}

// A window's part is kept while what it is made from is unchanged: each change, made after a
// screen was read, must show in the next one.
TEST_F(WebActions, EachChangeShowsInTheNextScreen)
{
    struct Case {
        std::string name;
        std::function<void()> change;
        int ctrlId;
        std::string field;
        nlohmann::json expected;   // null: the window is not shown
    } cases[] = {
        {"check", [this] { SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0); }, 1, "check", 1},
        {"text", [this] { SetWindowTextW(check, u"Snoring"); }, 1, "text", "Snoring"},
        {"move", [this] { MoveWindow(check, 5, 40, 150, 16, TRUE); }, 1, "rect", {5, 40, 150, 16}},
        {"disable", [this] { EnableWindow(check, FALSE); }, 1, "enabled", false},
        {"focus", [this] { SetFocus(check); }, 1, "focused", true},
        {"pick", [this] { SendMessageW(list, LB_SETCURSEL, 1, 0); }, 2, "selected", 1},
        {"item added", [this] { SendMessageW(list, LB_ADDSTRING, 0, (LPARAM)u"Oxycodone"); }, 2,
         "items", {"Morphine", "Fentanyl", "Oxycodone"}},
        {"scroll", [this] { SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, 5, 0}; SetScrollInfo(bar, SB_CTL, &si, TRUE); }, 100, "scroll",
         {{"min", 0}, {"max", 39}, {"page", 16}, {"pos", 5}}},
        {"colour the program answers", [] { titleColor = RGB(255, 0, 0); }, 3, "colors",
         {{"text", "#ff0000"}, {"background", nullptr}}},
        {"font", [this] { SendMessageW(check, WM_SETFONT, (WPARAM)font(20), TRUE); }, 1, "/font/size", 20},
        {"hidden", [this] { ShowWindow(check, SW_HIDE); }, 1, "", nullptr},
        {"made again otherwise", [this] {
             DestroyWindow(check);
             child(u"BUTTON", u"Snoring", BS_AUTOCHECKBOX, 5, 30, 150, 16, 1);
         }, 1, "text", "Snoring"},
    };
    for (const Case& c : cases) {
        webScreen();
        c.change();
        nlohmann::json w = shown(c.ctrlId);
        if (c.expected.is_null())
            EXPECT_TRUE(w.is_null()) << c.name;
        else if (c.field[0] == '/')
            EXPECT_EQ(w.at(nlohmann::json::json_pointer(c.field)), c.expected) << c.name;
        else
            EXPECT_EQ(w[c.field], c.expected) << c.name;
        TearDown();
        SetUp();
    }
}

TEST_F(WebActions, WindowsMadeAgainAsTheyWereAreTheSameParts)
{
    WebScreen before = webScreenParts();
    TearDown();   // every window made again, with other handles
    SetUp();
    WebScreen after = webScreenParts();
    ASSERT_EQ(after.ids, before.ids);
    for (std::size_t i = 0; i < after.windows.size(); ++i)
        EXPECT_EQ(after.windows[i], before.windows[i]) << "window " << i << " was serialised again";
}

TEST_F(WebActions, AFontMadeAfterAnotherWasFreedIsMeasuredAnew)
{
    HFONT small = font(8);
    SendMessageW(check, WM_SETFONT, (WPARAM)small, TRUE);
    int smallHeight = shown(1)["font"]["height"];
    SendMessageW(check, WM_SETFONT, 0, TRUE);
    DeleteObject(small);
    HFONT large = font(30);   // often given the freed font's handle
    SendMessageW(check, WM_SETFONT, (WPARAM)large, TRUE);
    nlohmann::json f = shown(1)["font"];
    EXPECT_GT(f["height"].get<int>(), smallHeight);
    EXPECT_EQ(f["size"], 30);
}

TEST_F(WebActions, ChecksEachActionBeforeItIsPushed)
{
    // Window ids are filled in per case: {check}, {list}, {bar}, {hidden}.
    struct Case {
        std::string name, json;
        int status;
    } cases[] = {
        {"tap", R"({"kind":"tap","window":"{check}"})", 200},
        {"tap on a hidden window", R"({"kind":"tap","window":"{hidden}"})", 404},
        {"tap on a window that never was", R"({"kind":"tap","window":"w12"})", 404},
        {"tap without a window", R"({"kind":"tap"})", 400},
        {"window id not a string", R"({"kind":"tap","window":12})", 400},
        {"pick", R"({"kind":"pick","window":"{list}","index":1})", 200},
        {"pick past the end", R"({"kind":"pick","window":"{list}","index":2})", 400},
        {"pick negative", R"({"kind":"pick","window":"{list}","index":-1})", 400},
        {"pick not a number", R"({"kind":"pick","window":"{list}","index":"1"})", 400},
        {"pick on a check box", R"({"kind":"pick","window":"{check}","index":0})", 400},
        {"scroll", R"({"kind":"scroll","window":"{bar}","code":"pagedown"})", 200},
        {"scroll to", R"({"kind":"scroll","window":"{bar}","code":"to","position":99999999999})", 200},
        {"scroll to without position", R"({"kind":"scroll","window":"{bar}","code":"to"})", 400},
        {"scroll a check box", R"({"kind":"scroll","window":"{check}","code":"lineup"})", 400},
        {"scroll unknown code", R"({"kind":"scroll","window":"{bar}","code":"sideways"})", 400},
        {"type", R"({"kind":"type","text":"12"})", 200},
        {"type at a window", R"({"kind":"type","text":"1","window":"{check}"})", 200},
        {"type nothing typable", R"({"kind":"type","text":"\u20ac"})", 400},
        {"type too long", R"({"kind":"type","text":")" + std::string(257, 'x') + R"("})", 400},
        {"key chord", R"({"kind":"key","key":"q","ctrl":true})", 200},
        {"named key", R"({"kind":"key","key":"enter"})", 200},
        {"unknown key", R"({"kind":"key","key":"F13"})", 400},
        {"close", R"({"kind":"close"})", 200},
        {"no kind", R"({"window":"{check}"})", 400},
        {"kind not a string", R"({"kind":1})", 400},
        {"not an object", R"([1,2])", 400},
    };
    for (const Case& c : cases) {
        std::string json = c.json;
        for (auto [name, window] : {std::pair{"{check}", check}, {"{list}", list}, {"{bar}", bar}, {"{hidden}", hidden}})
            if (std::size_t at = json.find(name); at != std::string::npos)
                json.replace(at, std::strlen(name), id(window));
        std::string error;
        int status = perform(json.c_str(), &error);
        EXPECT_EQ(status, c.status) << c.name;
        EXPECT_EQ(portableActionsWaiting(), status == 200) << c.name;
        EXPECT_EQ(error.empty(), status == 200) << c.name;
        TearDown();
        SetUp();
    }
}

}  // namespace
