// The program entry and its start-up and teardown.
#pragma once
#include "platform/winapi.h"

int startUp(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int showMode);
bool loadDatabases();
bool createMainWindow(HINSTANCE instance, int showMode);
void tearDown();
