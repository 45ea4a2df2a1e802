// Text handed to the platform: a range of 8-bit text widened byte for code unit. Short texts
// use the holder's own buffer; longer ones a heap block, so no text is ever cut or overrun.
#pragma once
#include "platform/winapi.h"

struct WideText {
    WCHAR small[128];
    WCHAR* text;   // small, a heap block, or nullptr when no memory
    int length;
};

// Widens [start, end); end nullptr = up to the NUL; start nullptr = an empty text.
// Returns the wide text, or nullptr when a heap block was needed and could not be had.
const WCHAR* widenRange(WideText* holder, const char* start, const char* end);
void releaseWide(WideText* holder);
