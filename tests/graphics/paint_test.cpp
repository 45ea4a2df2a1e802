// Window DCs and painting: each window's surface, the update rectangle through InvalidateRect,
// ValidateRect, GetUpdateRect and BeginPaint/EndPaint, drawing clipped to it, and what is left
// of a DC whose window is destroyed.
#include "helpers.h"

#include <gtest/gtest.h>

namespace {

HDC stripContext(HBITMAP* strip, HGDIOBJ* previous)
{
    *strip = LoadBitmapW(nullptr, MAKEINTRESOURCEW(115));
    HDC memory = CreateCompatibleDC(nullptr);
    *previous = SelectObject(memory, *strip);
    return memory;
}

}  // namespace

// A top-level window of the window system; destroyed at the end of the test.
struct TestWindow {
    HWND window;
    TestWindow(DWORD style, int x, int y, int width, int height, HWND parent = nullptr)
        : window(CreateWindowExW(0, u"STATIC", u"", style, x, y, width, height, parent, nullptr, nullptr, nullptr))
    {
    }
    ~TestWindow() { DestroyWindow(window); }
};

TEST(WindowDc, DrawsOnTheWindowsOwnSurface)
{
    TestWindow test(WS_POPUP, 10, 20, 40, 20);
    HWND window = test.window;
    ASSERT_NE(window, nullptr);
    int notAWindow = 0;
    EXPECT_EQ(GetDC(reinterpret_cast<HWND>(&notAWindow)), nullptr) << "no such window";
    HDC dc = GetDC(window);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255)) << "a surface starts white";
    EXPECT_EQ(SetPixel(dc, 39, 19, RGB(9, 8, 7)), RGB(9, 8, 7));
    EXPECT_EQ(GetPixel(dc, 40, 0), CLR_INVALID) << "the surface is the window's size";
    int width = 0, height = 0;
    const COLORREF* pixels = nullptr;
    ASSERT_TRUE(portableWindowPixels(window, &width, &height, &pixels));
    EXPECT_EQ(width, 40);
    EXPECT_EQ(height, 20);
    EXPECT_EQ(pixels[19 * 40 + 39], RGB(9, 8, 7));
    MoveWindow(window, 10, 20, 60, 10, FALSE);
    EXPECT_EQ(GetPixel(dc, 50, 5), RGB(255, 255, 255)) << "a resized window's surface follows its size";
    EXPECT_EQ(GetPixel(dc, 39, 19), CLR_INVALID);
    EXPECT_EQ(GetPixel(dc, 39, 9), RGB(255, 255, 255));
    TestWindow other(WS_POPUP, 0, 0, 5, 5);
    EXPECT_EQ(ReleaseDC(other.window, dc), 0) << "released only by its own window";
    EXPECT_EQ(ReleaseDC(window, dc), 1);
    EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID) << "a released DC is refused";
}

TEST(WindowDc, DrawsInClientCoordinates)
{
    TestWindow framed(WS_POPUP | WS_CAPTION, 0, 0, 100, 80);
    RECT client{};
    ASSERT_TRUE(GetClientRect(framed.window, &client));
    HDC dc = GetDC(framed.window);
    SetPixel(dc, 0, 0, RGB(1, 2, 3));
    int width = 0, height = 0;
    const COLORREF* pixels = nullptr;
    ASSERT_TRUE(portableWindowPixels(framed.window, &width, &height, &pixels));
    EXPECT_EQ(width, client.right);
    EXPECT_EQ(height, client.bottom);
    EXPECT_LT(height, 80) << "the caption is not part of the surface";
    EXPECT_EQ(pixels[0], RGB(1, 2, 3));
    ReleaseDC(framed.window, dc);
}

TEST(WindowDc, DestroyedWindowLeavesADetachedDc)
{
    HWND window = CreateWindowExW(0, u"STATIC", u"", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    HDC dc = GetDC(window);
    ASSERT_NE(dc, nullptr);
    SetPixel(dc, 0, 0, RGB(0, 0, 0));
    InvalidateRect(window, nullptr, TRUE);
    DestroyWindow(window);
    int width = 0, height = 0;
    const COLORREF* pixels = nullptr;
    EXPECT_FALSE(portableWindowPixels(window, &width, &height, &pixels));
    EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE));
    EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);
    HDC memory = CreateCompatibleDC(nullptr);
    EXPECT_TRUE(BitBlt(dc, 0, 0, 5, 5, memory, 0, 0, SRCCOPY)) << "drawing on it does nothing, harmlessly";
    TEXTMETRICW tm;
    EXPECT_TRUE(GetTextMetricsW(dc, &tm)) << "it can still measure";
    EXPECT_EQ(ReleaseDC(window, dc), 1);
    DeleteDC(memory);
}

// The window system keeps the update rectangle; painting reads it.
struct PaintWindow : TestWindow {
    PaintWindow() : TestWindow(WS_POPUP, 0, 0, 240, 320) {}
};

TEST(Painting, UpdateRectangleSequence)
{
    PaintWindow painted;
    HWND window = painted.window;
    RECT r{1, 1, 1, 1};
    struct Step {
        const char* name;
        char action;  // 'i' invalidate rect, 'a' invalidate all, 'v' validate rect, 'w' validate all
        RECT rect;
        BOOL pending;
        RECT expected;
    };
    static const Step steps[] = {
        {"nothing yet", 0, {}, FALSE, {0, 0, 0, 0}},
        {"the title strip", 'i', {0, 0, 240, 26}, TRUE, {0, 0, 240, 26}},
        {"a union", 'i', {100, 100, 120, 130}, TRUE, {0, 0, 240, 130}},
        {"clipped to the client area", 'i', {-5, 300, 500, 400}, TRUE, {0, 0, 240, 320}},
        {"validating the top band", 'v', {0, 0, 240, 100}, TRUE, {0, 100, 240, 320}},
        {"validating a hole keeps the rectangle", 'v', {10, 150, 20, 160}, TRUE, {0, 100, 240, 320}},
        {"validating everything", 'w', {}, FALSE, {0, 0, 0, 0}},
        {"an empty rectangle adds nothing", 'i', {5, 5, 5, 50}, FALSE, {0, 0, 0, 0}},
        {"the whole window", 'a', {}, TRUE, {0, 0, 240, 320}},
    };
    for (const Step& step : steps) {
        if (step.action == 'i')
            EXPECT_TRUE(InvalidateRect(window, &step.rect, FALSE)) << step.name;
        if (step.action == 'a')
            EXPECT_TRUE(InvalidateRect(window, nullptr, TRUE)) << step.name;
        if (step.action == 'v')
            EXPECT_TRUE(ValidateRect(window, &step.rect)) << step.name;
        if (step.action == 'w')
            EXPECT_TRUE(ValidateRect(window, nullptr)) << step.name;
        EXPECT_EQ(GetUpdateRect(window, &r, FALSE), step.pending) << step.name;
        EXPECT_EQ(r.left, step.expected.left) << step.name;
        EXPECT_EQ(r.top, step.expected.top) << step.name;
        EXPECT_EQ(r.right, step.expected.right) << step.name;
        EXPECT_EQ(r.bottom, step.expected.bottom) << step.name;
    }
    EXPECT_FALSE(InvalidateRect(nullptr, nullptr, FALSE));
    EXPECT_FALSE(InvalidateRect(reinterpret_cast<HWND>(&r), nullptr, FALSE)) << "no such window";
}

TEST(Painting, BeginPaintTakesTheUpdateAndEndPaintReleases)
{
    PaintWindow painted;
    HWND window = painted.window;
    InvalidateRect(window, nullptr, TRUE);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(paint.hdc, dc);
    EXPECT_EQ(paint.rcPaint.right, 240);
    EXPECT_EQ(paint.rcPaint.bottom, 320);
    EXPECT_TRUE(paint.fErase) << "no one has erased the background";
    EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE)) << "BeginPaint validates";
    EXPECT_TRUE(EndPaint(window, &paint));
    EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID) << "EndPaint released the DC";
    EXPECT_FALSE(EndPaint(window, &paint));

    dc = BeginPaint(window, &paint);
    ASSERT_NE(dc, nullptr) << "painting with nothing to update still gives a DC";
    EXPECT_EQ(paint.rcPaint.right, 0);
    EXPECT_EQ(SetPixel(dc, 0, 0, RGB(1, 1, 1)), RGB(1, 1, 1));
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255)) << "and it draws nowhere";
    EndPaint(window, &paint);
    EXPECT_EQ(BeginPaint(window, nullptr), nullptr);
    EXPECT_EQ(BeginPaint(reinterpret_cast<HWND>(&paint), &paint), nullptr);
}

// The title strip is drawn by copying bitmap 115 onto the paint DC; a repaint below the strip
// must leave it as it was.
TEST(Painting, DrawingStaysInsideTheUpdateRectangle)
{
    PaintWindow painted;
    HWND window = painted.window;
    HBITMAP strip;
    HGDIOBJ previous;
    HDC memory = stripContext(&strip, &previous);
    static const struct {
        const char* name;
        RECT update;
        int firstDrawnRow, lastDrawnRow;  // rows of the strip that reach the window
    } cases[] = {
        {"whole window", {0, 0, 240, 320}, 0, 25},
        {"title strip only", {0, 0, 240, 26}, 0, 25},
        {"top half of the strip", {0, 0, 240, 13}, 0, 12},
        {"below the strip", {0, 27, 240, 320}, -1, -1},
    };
    for (const auto& c : cases) {
        HDC clear = GetDC(window);
        RECT all{0, 0, 240, 320};
        FillRect(clear, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        ReleaseDC(window, clear);
        InvalidateRect(window, &c.update, FALSE);
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        ASSERT_TRUE(BitBlt(dc, 0, 0, 240, 26, memory, 0, 0, SRCCOPY)) << c.name;
        for (int y = 0; y < 26; y++) {
            bool drawn = y >= c.firstDrawnRow && y <= c.lastDrawnRow;
            COLORREF expected = drawn ? GetPixel(memory, 120, y) : RGB(255, 255, 255);
            EXPECT_EQ(GetPixel(dc, 120, y), expected) << c.name << " row " << y;
        }
        EndPaint(window, &paint);
    }
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(strip);
}
