// Helpers shared by the graphics tests: 16-bit text, the test face switch, and stand-in windows
// (rectangles only) so that window DCs and painting can be tried without the window system.
#pragma once
#include "platform/winapi.h"
#include "platform/portable/graphics.h"
#include "platform/portable/internal.h"
#include "platform/portable/testing.h"

#include <map>
#include <string>

inline std::u16string widen(const char* text)
{
    std::u16string wide;
    for (const char* p = text; *p; p++)
        wide += static_cast<char16_t>(static_cast<unsigned char>(*p));
    return wide;
}

inline std::string narrow(const WCHAR* text, int count)
{
    std::string out;
    for (int i = 0; i < count; i++)
        out += static_cast<char>(text[i] & 0xFF);
    return out;
}

struct TestFaceOn {
    TestFaceOn() { portableSetTestFace(true); }
    ~TestFaceOn() { portableSetTestFace(false); }
};

// Stand-in windows: a handle is any distinct address; only its rectangle is known.
class FakeWindows {
public:
    FakeWindows() { portableGdiUseWindowRects(&FakeWindows::rectOf); }
    ~FakeWindows()
    {
        for (auto& entry : rects())
            portableGdiWindowDestroyed(entry.first);
        rects().clear();
        portableGdiUseWindowRects(nullptr);
    }
    HWND make(RECT rect)
    {
        HWND window = reinterpret_cast<HWND>(&slots_[count_++]);
        rects()[window] = rect;
        return window;
    }
    void destroy(HWND window)
    {
        portableGdiWindowDestroyed(window);
        rects().erase(window);
    }
    void move(HWND window, RECT rect) { rects()[window] = rect; }

private:
    static std::map<HWND, RECT>& rects()
    {
        static std::map<HWND, RECT> all;
        return all;
    }
    static bool rectOf(HWND window, RECT* rect)
    {
        auto found = rects().find(window);
        if (found == rects().end())
            return false;
        *rect = found->second;
        return true;
    }
    char slots_[16] = {};
    int count_ = 0;
};
