// Stand-ins for the window system's answers to the graphics half, for programs that link the
// graphics calls alone (graphics tests, the artwork generator): there are no windows then.
// The window system's own definitions replace these wherever it is linked in.
#include "platform/portable/internal.h"

__attribute__((weak)) bool portableWindowRect(HWND, RECT*) { return false; }
__attribute__((weak)) HFONT portableWindowFont(HWND) { return nullptr; }
