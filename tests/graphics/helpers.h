// Helpers shared by the graphics tests: 16-bit text and the test face switch.
#pragma once
#include "platform/winapi.h"
#include "platform/portable/graphics.h"
#include "platform/portable/testing.h"

#include <string>

inline std::u16string widen(const char* text)
{
    std::u16string wide;
    for (const char* p = text; *p; p++)
        wide += static_cast<char16_t>(static_cast<unsigned char>(*p));
    return wide;
}

inline std::string narrow(const WCHAR* text, int count)
{
    std::string out;
    for (int i = 0; i < count; i++)
        out += static_cast<char>(text[i] & 0xFF);
    return out;
}

struct TestFaceOn {
    TestFaceOn() { portableSetTestFace(true); }
    ~TestFaceOn() { portableSetTestFace(false); }
};
