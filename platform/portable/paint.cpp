// Painting of the portable platform: each window's update rectangle (InvalidateRect,
// ValidateRect, GetUpdateRect) and BeginPaint/EndPaint, whose DC draws only inside it.
// Differs from Windows in: the update region is one rectangle (the union of what was
// invalidated); BeginPaint sends no WM_ERASEBKGND: fErase tells the window procedure that the
// background has not been erased.
#include "platform/portable/gdi_records.h"

#include <algorithm>
#include <map>

namespace {

struct Update {
    RECT rect;
    bool erase;
};

std::map<HWND, Update>& updates = *new std::map<HWND, Update>;

bool clientRect(HWND window, RECT* client)
{
    RECT screen;
    if (!window || !gdiWindowRect(window, &screen))
        return false;
    *client = RECT{0, 0, screen.right - screen.left, screen.bottom - screen.top};
    return true;
}

bool emptyRect(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

}  // namespace

void gdiForgetUpdate(HWND window) { updates.erase(window); }

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase)
{
    RECT client;
    if (!clientRect(window, &client))
        return FALSE;
    RECT area = rect ? *rect : client;
    area = RECT{std::max(area.left, client.left), std::max(area.top, client.top), std::min(area.right, client.right),
                std::min(area.bottom, client.bottom)};
    if (emptyRect(area))
        return TRUE;
    auto found = updates.find(window);
    if (found == updates.end()) {
        updates[window] = Update{area, erase != 0};
        return TRUE;
    }
    RECT& r = found->second.rect;
    r = RECT{std::min(r.left, area.left), std::min(r.top, area.top), std::max(r.right, area.right),
             std::max(r.bottom, area.bottom)};
    found->second.erase = found->second.erase || erase;
    return TRUE;
}

// Validating part of the update rectangle removes it only when what stays is still a rectangle.
BOOL ValidateRect(HWND window, const RECT* rect)
{
    RECT client;
    if (!clientRect(window, &client))
        return FALSE;
    auto found = updates.find(window);
    if (found == updates.end())
        return TRUE;
    RECT& r = found->second.rect;
    if (!rect || (rect->left <= r.left && rect->right >= r.right && rect->top <= r.top && rect->bottom >= r.bottom)) {
        updates.erase(found);
        return TRUE;
    }
    bool spansWidth = rect->left <= r.left && rect->right >= r.right;
    bool spansHeight = rect->top <= r.top && rect->bottom >= r.bottom;
    if (spansWidth && rect->top <= r.top && rect->bottom > r.top)
        r.top = rect->bottom;
    else if (spansWidth && rect->bottom >= r.bottom && rect->top < r.bottom)
        r.bottom = rect->top;
    else if (spansHeight && rect->left <= r.left && rect->right > r.left)
        r.left = rect->right;
    else if (spansHeight && rect->right >= r.right && rect->left < r.right)
        r.right = rect->left;
    if (emptyRect(r))
        updates.erase(found);
    return TRUE;
}

BOOL GetUpdateRect(HWND window, LPRECT rect, BOOL)
{
    auto found = updates.find(window);
    bool pending = found != updates.end();
    if (rect)
        *rect = pending ? found->second.rect : RECT{0, 0, 0, 0};
    return pending ? TRUE : FALSE;
}

HDC BeginPaint(HWND window, LPPAINTSTRUCT paint)
{
    if (!paint)
        return nullptr;
    *paint = PAINTSTRUCT{};
    HDC dc = window ? GetDC(window) : nullptr;
    if (!dc)
        return nullptr;
    auto found = updates.find(window);
    if (found != updates.end()) {
        paint->rcPaint = found->second.rect;
        paint->fErase = found->second.erase ? TRUE : FALSE;
        updates.erase(found);
    }
    dc->clipped = true;
    dc->clip = paint->rcPaint;
    paint->hdc = dc;
    return dc;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT* paint)
{
    if (!paint || !gdiLiveDc(paint->hdc))
        return FALSE;
    ReleaseDC(window, paint->hdc);
    return TRUE;
}
