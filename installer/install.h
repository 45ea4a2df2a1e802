// The installation run: find ActiveSync's application manager, copy the device package beside it
// and hand the package's .ini to it. Every failure is told to the user in a message box.
#pragma once
#include <windows.h>

void runInstall(HWND owner);
