// A small program with its own window procedure, for driving zura-sim before the device
// program exists: a check box, an edit field, buttons that open a message box and a modeless
// keypad, a drop list with its drop button, a section selector, a scroll bar and an "X" button.
// It writes what it is told into programLog() ("command ID CODE STATE", "messagebox RESULT", ...).
#pragma once
#include "platform/winapi.h"

#include <string>
#include <vector>

std::vector<std::string>& programLog();
int testProgram(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);
