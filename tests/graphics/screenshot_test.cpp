// Screenshots: a window of the program's own class that paints the title strip and draws its
// owner-drawn buttons from the bitmaps, with built-in controls beside it, composed into one
// screen: what the program painted shows at its place, and the controls are drawn in their fonts.
#include "helpers.h"
#include "platform/portable/host.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

HBITMAP faces[4];  // module buttons 121..123 and the picture 124
HBITMAP strip;

void copyBitmap(HDC target, HBITMAP bitmap, int width, int height)
{
    HDC memory = CreateCompatibleDC(target);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(target, 0, 0, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

LRESULT CALLBACK homeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        copyBitmap(dc, strip, 240, 26);
        EndPaint(window, &paint);
        return 0;
    }
    if (message == WM_DRAWITEM) {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        int index = static_cast<int>(item->CtlID) - 108;
        if (item->CtlID == 111)
            copyBitmap(item->hDC, faces[3], 140, 94);
        else if (index >= 0 && index < 3)
            copyBitmap(item->hDC, faces[index], 230, 25);
        return TRUE;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND child(HWND parent, const char16_t* cls, const char16_t* text, DWORD style, int x, int y, int w, int h, int id)
{
    return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
}

COLORREF at(const std::vector<COLORREF>& screen, int x, int y) { return screen[static_cast<std::size_t>(y) * 240 + x]; }

COLORREF bitmapAt(HBITMAP bitmap, int x, int y)
{
    int width = 0, height = 0;
    const COLORREF* pixels = nullptr;
    portableBitmapPixels(bitmap, &width, &height, &pixels);
    return pixels[static_cast<std::size_t>(y) * width + x];
}

}  // namespace

TEST(Screenshot, HomeScreenShowsWhatWasPaintedAndTheControls)
{
    for (int i = 0; i < 4; i++)
        faces[i] = LoadBitmapW(nullptr, MAKEINTRESOURCEW(121 + i));
    strip = LoadBitmapW(nullptr, MAKEINTRESOURCEW(115));
    WNDCLASSW home{};
    home.lpfnWndProc = homeProc;
    home.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    home.lpszClassName = u"SHOTTEST";
    ASSERT_NE(RegisterClassW(&home), 0);
    HWND main = CreateWindowExW(0, u"SHOTTEST", u"Dolvara", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(main, nullptr);
    child(main, u"STATIC", u"", 0, 30, 3, 195, 16, 0);
    child(main, u"BUTTON", u"X", 0, 225, 3, 12, 16, 107);
    child(main, u"BUTTON", u"", BS_OWNERDRAW, 50, 30, 140, 94, 111);
    for (int i = 0; i < 3; i++)
        child(main, u"BUTTON", u"", BS_OWNERDRAW, 5, 140 + 30 * i, 230, 25, 108 + i);
    child(main, u"BUTTON", u"Info", 0, 2, 295, 50, 20, 112);
    child(main, u"BUTTON", u"Next", 0, 204, 295, 33, 20, 101);
    HWND box = child(main, u"BUTTON", u"Sleep apnea", BS_AUTOCHECKBOX, 60, 232, 120, 16, 300);
    SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
    UpdateWindow(main);
    // Owner-drawn buttons are drawn when they paint.
    for (int id : {108, 109, 110, 111})
        UpdateWindow(GetDlgItem(main, id));

    std::vector<COLORREF> screen;
    int width = 0, height = 0;
    ASSERT_TRUE(portableRenderScreen(&screen, &width, &height));
    ASSERT_EQ(width, 240);
    ASSERT_EQ(height, 320);
    EXPECT_EQ(at(screen, 14, 12), bitmapAt(strip, 14, 12)) << "the title strip the window painted";
    EXPECT_EQ(at(screen, 5 + 40, 140 + 12), bitmapAt(faces[0], 40, 12)) << "module button face 121";
    EXPECT_EQ(at(screen, 5 + 100, 200 + 12), bitmapAt(faces[2], 100, 12)) << "module button face 123";
    EXPECT_EQ(at(screen, 50 + 70, 30 + 26), bitmapAt(faces[3], 70, 26)) << "the picture";
    int dark = 0;
    for (int y = 295; y < 315; y++)
        for (int x = 2; x < 52; x++)
            dark += GetRValue(at(screen, x, y)) + GetGValue(at(screen, x, y)) + GetBValue(at(screen, x, y)) < 240;
    EXPECT_GT(dark, 10) << "the Info button's text";
    EXPECT_EQ(at(screen, 60 + 6, 232 + 8), RGB(0, 0, 0)) << "the check box is ticked";

    if (const char* path = std::getenv("ZURA_SCREENSHOT"))
        EXPECT_TRUE(portableSaveScreenshot(path));
    DestroyWindow(main);
    for (HBITMAP b : faces)
        DeleteObject(b);
    DeleteObject(strip);
}

TEST(Screenshot, HiddenWindowsAndChildrenOutsideTheirParentAreNotDrawn)
{
    HWND popup = CreateWindowExW(0, u"STATIC", u"", WS_POPUP | WS_VISIBLE, 10, 10, 50, 50, nullptr, nullptr, nullptr, nullptr);
    HWND hidden = CreateWindowExW(0, u"BUTTON", u"Hidden", WS_POPUP, 100, 100, 60, 20, nullptr, nullptr, nullptr, nullptr);
    HWND overflow = CreateWindowExW(0, u"BUTTON", u"Wide", WS_CHILD | WS_VISIBLE, 40, 0, 60, 20, popup, nullptr, nullptr, nullptr);
    std::vector<COLORREF> screen;
    int width = 0, height = 0;
    ASSERT_TRUE(portableRenderScreen(&screen, &width, &height));
    for (int y = 100; y < 120; y++)
        for (int x = 100; x < 160; x++)
            ASSERT_EQ(at(screen, x, y), RGB(255, 255, 255)) << "hidden window at " << x << "," << y;
    EXPECT_NE(at(screen, 50, 10), RGB(255, 255, 255)) << "the part inside its parent";
    EXPECT_EQ(at(screen, 61, 10), RGB(255, 255, 255)) << "clipped to the parent";
    DestroyWindow(overflow);
    DestroyWindow(hidden);
    DestroyWindow(popup);
    EXPECT_FALSE(portableRenderScreen(nullptr, &width, &height));
}
