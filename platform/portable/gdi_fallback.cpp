// Stand-ins for the graphics half's calls, used until that half is linked: weak definitions,
// so the graphics half's own definitions take their place (and this file then goes).
#include "platform/portable/internal.h"
#include "platform/portable/wnd.h"

__attribute__((weak)) void portableGdiWindowDestroyed(HWND) {}

__attribute__((weak)) bool portableFontInfo(HFONT, PortableFontInfo*)
{
    return false;
}

__attribute__((weak)) HDC GetDC(HWND)
{
    return nullptr;
}

__attribute__((weak)) int ReleaseDC(HWND, HDC)
{
    return 0;
}
