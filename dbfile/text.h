// Conversion between the program's 8-bit text and the platform's 16-bit text: byte for code
// unit, in both directions (code points 0..255 only).
#pragma once
#include "platform/winapi.h"

// Each byte becomes one code unit of the same value, then a 0 unit; returns the character count.
// An absent text gives an empty string. destination holds length + 1 units.
int widenText(WCHAR* destination, const char* text);

// Each code unit becomes its low byte, then a 0 byte. An absent text leaves destination untouched.
void narrowText(char* destination, const WCHAR* text);

// Bounded forms for fixed buffers: at most capacity units (or bytes) including the terminator,
// cutting what does not fit. They return the number of characters written.
int widenTextBounded(WCHAR* destination, int capacity, const char* text);
int narrowTextBounded(char* destination, int capacity, const WCHAR* text);
