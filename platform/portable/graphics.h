// What the hosts read of the graphics half: the pixels of a window's surface and of bitmaps,
// for screenshots. The device program never includes this.
#pragma once
#include "platform/winapi.h"

#include <vector>

// The window's surface: width x height pixels, 0x00BBGGRR, top row first. False when the window
// has no surface (never drawn on, or gone). The pixels stay valid until the next graphics call.
bool portableWindowPixels(HWND window, int* width, int* height, const COLORREF** pixels);
// A number that changes whenever the window's surface may have been drawn on (0: no surface).
unsigned long long portableWindowSurfaceVersion(HWND window);
// The same for a bitmap handle.
bool portableBitmapPixels(HBITMAP bitmap, int* width, int* height, const COLORREF** pixels);
// Writes width x height pixels as a 24-bit BMP file; false when it cannot be written.
bool portableSaveBmp(const char* path, int width, int height, const COLORREF* pixels);

// The whole screen composed from the window tree (screenshot.cpp): width x height pixels as
// above. The program's own windows and owner-drawn buttons show what was painted on them; the
// built-in controls are drawn from their state.
bool portableRenderScreen(std::vector<COLORREF>* pixels, int* width, int* height);
