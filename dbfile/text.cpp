// 8-bit program text to the platform's 16-bit text and back, one byte per code unit.
// Narrowing keeps only the low byte, so characters above 255 come back as that byte.
#include "dbfile/text.h"

int widenText(WCHAR* destination, const char* text)
{
    int n = 0;
    if (text)
        for (; text[n]; ++n)
            destination[n] = WCHAR(static_cast<unsigned char>(text[n]));
    destination[n] = 0;
    return n;
}

void narrowText(char* destination, const WCHAR* text)
{
    if (!text)
        return;
    int n = 0;
    for (; text[n]; ++n)
        destination[n] = char(text[n] & 0xFF);
    destination[n] = 0;
}

int widenTextBounded(WCHAR* destination, int capacity, const char* text)
{
    if (capacity <= 0)
        return 0;
    int n = 0;
    if (text)
        for (; text[n] && n < capacity - 1; ++n)
            destination[n] = WCHAR(static_cast<unsigned char>(text[n]));
    destination[n] = 0;
    return n;
}

int narrowTextBounded(char* destination, int capacity, const WCHAR* text)
{
    if (!text || capacity <= 0)
        return 0;
    int n = 0;
    for (; text[n] && n < capacity - 1; ++n)
        destination[n] = char(text[n] & 0xFF);
    destination[n] = 0;
    return n;
}
