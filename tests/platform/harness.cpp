// Test harness for the portable window system (see harness.h).
#include "harness.h"

std::vector<LoggedMessage>& messageLog()
{
    static std::vector<LoggedMessage> log;
    return log;
}

std::vector<std::pair<UINT, WPARAM>> logged(std::initializer_list<UINT> kinds)
{
    std::vector<std::pair<UINT, WPARAM>> out;
    for (const LoggedMessage& m : messageLog())
        for (UINT k : kinds)
            if (m.message == k)
                out.emplace_back(m.message, m.wParam);
    return out;
}

static LRESULT CALLBACK loggerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    messageLog().push_back(LoggedMessage{window, message, wParam, lParam});
    return DefWindowProcW(window, message, wParam, lParam);
}

void registerLogger()
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = loggerProc;
    wc.lpszClassName = u"Logger";
    RegisterClassW(&wc);
}

HWND createLogger(DWORD style, HWND parent)
{
    return CreateWindowExW(0, u"Logger", u"log", style, 0, 0, 240, 320, parent, nullptr, nullptr, nullptr);
}

HWND createControl(const char16_t* className, const char16_t* text, DWORD style, int x, int y,
                   int width, int height, HWND parent, int id)
{
    return CreateWindowExW(0, className, text, style, x, y, width, height, parent,
                           (HMENU)(UINT_PTR)id, nullptr, nullptr);
}

std::vector<WORD> dialogTemplate(DWORD style, short x, short y, short cx, short cy, const char16_t* title,
                                 const std::vector<DialogItem>& items)
{
    std::vector<WORD> t;
    auto dword = [&t](DWORD v) {
        t.push_back(WORD(v & 0xFFFF));
        t.push_back(WORD(v >> 16));
    };
    auto text = [&t](const char16_t* s) {
        for (; *s; ++s)
            t.push_back(*s);
        t.push_back(0);
    };
    dword(style | DS_SETFONT);
    dword(0);
    t.push_back(WORD(items.size()));
    for (short v : {x, y, cx, cy})
        t.push_back(WORD(v));
    t.push_back(0);   // no menu
    t.push_back(0);   // default class
    text(title);
    t.push_back(8);
    text(u"System");
    for (const DialogItem& item : items) {
        if (t.size() % 2)
            t.push_back(0);   // items start on a DWORD boundary
        dword(item.style);
        dword(0);
        for (short v : {item.x, item.y, item.cx, item.cy})
            t.push_back(WORD(v));
        t.push_back(item.id);
        t.push_back(0xFFFF);
        t.push_back(item.classOrdinal);
        text(item.text);
        t.push_back(0);   // no creation data
    }
    return t;
}

static bool runScriptedStep(void* context)
{
    ScriptedUser* user = static_cast<ScriptedUser*>(context);
    if (user->steps.empty())
        return false;
    std::function<void()> step = user->steps.front();
    user->steps.pop_front();
    step();
    return true;
}

void ScriptedUser::install()
{
    portableSetInputSource(runScriptedStep, this);
}

void tapWindow(HWND window)
{
    PortableAction a;
    a.kind = PortableActionKind::Tap;
    a.target = window;
    portablePushAction(a);
}

HWND findByText(const std::u16string& text)
{
    for (const PortableWindowInfo& w : portableSnapshot())
        if (w.text == text)
            return w.window;
    return nullptr;
}

void PlatformTest::SetUp()
{
    portableResetWindows();
    messageLog().clear();
    registerLogger();
}

void PlatformTest::TearDown()
{
    portableResetWindows();
}
