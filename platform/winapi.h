// The one boundary between the device program and its platform.
// On Windows this is <windows.h>; everywhere else it declares the same subset of Win32, with the
// real names, types, message numbers, styles and codes, and platform/portable/ implements it.
#pragma once

#ifdef _WIN32
#include <windows.h>
#ifndef SHFS_HIDETASKBAR
#define SHFS_HIDETASKBAR 0x0002
#define SHFS_HIDESIPBUTTON 0x0008
#endif
// SHFullScreen is a handheld-only call; on a desktop build it has nothing to do.
inline BOOL SHFullScreen(HWND, DWORD) { return TRUE; }
#else

#include <cstddef>
#include <cstdint>

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef unsigned int DWORD;
typedef unsigned int UINT;
typedef int INT;
typedef long LONG;
typedef char16_t WCHAR;
typedef WCHAR* LPWSTR;
typedef const WCHAR* LPCWSTR;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef void* LPVOID;
typedef std::uintptr_t UINT_PTR;
typedef std::intptr_t INT_PTR;
typedef std::intptr_t LONG_PTR;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef void* HANDLE;
typedef void* HLOCAL;

#define TRUE 1
#define FALSE 0
#define WINAPI
#define CALLBACK

// Handles are pointers to the portable platform's own records.
struct PortableWindow;
struct PortableGdiObject;
struct PortableDc;
struct PortableInstance;
struct PortableAccel;
struct PortableResource;
typedef PortableWindow* HWND;
typedef PortableGdiObject* HGDIOBJ;
typedef PortableGdiObject* HFONT;
typedef PortableGdiObject* HBITMAP;
typedef PortableGdiObject* HBRUSH;
typedef PortableGdiObject* HICON;
typedef PortableGdiObject* HCURSOR;
typedef PortableDc* HDC;
typedef PortableInstance* HINSTANCE;
typedef PortableAccel* HACCEL;
typedef PortableResource* HRSRC;
typedef PortableResource* HGLOBAL;
typedef void* HMENU;

struct RECT { LONG left, top, right, bottom; };
struct POINT { LONG x, y; };
struct SIZE { LONG cx, cy; };
typedef RECT* LPRECT;
typedef const RECT* LPCRECT;
typedef POINT* LPPOINT;
typedef SIZE* LPSIZE;

#define LMEM_FIXED 0x0000
#define LMEM_ZEROINIT 0x0040
#define LPTR (LMEM_FIXED | LMEM_ZEROINIT)
HLOCAL LocalAlloc(UINT flags, std::size_t bytes);
HLOCAL LocalFree(HLOCAL memory);

#endif

#ifndef _WIN32
// Graphics, fonts, text measurement, bitmaps and resources.
#include "platform/winapi_gdi.h"
#endif
