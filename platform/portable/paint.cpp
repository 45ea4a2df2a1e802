// Painting of the portable platform: BeginPaint/EndPaint, whose DC draws only inside the update
// rectangle, and GetUpdateRect. The update rectangle itself is kept with the window record by
// the window system (InvalidateRect, ValidateRect), which also decides when WM_PAINT is due.
// Differs from Windows in: the update region is one rectangle (the union of what was
// invalidated); BeginPaint sends no WM_ERASEBKGND and always reports fErase, since the
// background is never erased for the window procedure.
#include "platform/portable/gdi_records.h"
#include "platform/portable/internal.h"

BOOL GetUpdateRect(HWND window, LPRECT rect, BOOL)
{
    RECT update{0, 0, 0, 0};
    bool pending = portableWindowUpdateRect(window, &update);
    if (rect)
        *rect = pending ? update : RECT{0, 0, 0, 0};
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
    RECT update;
    if (portableWindowUpdateRect(window, &update)) {
        paint->rcPaint = update;
        paint->fErase = TRUE;
        ValidateRect(window, nullptr);
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
