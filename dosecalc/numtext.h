// Number and text utilities: whole numbers in and out of text, rounding, fixed-point output,
// a case-insensitive search and the step between packed entries of a content record.
#pragma once
#include <cstdint>

// Optional '-', then digits; stops at the first non-digit. Overflow wraps as 32-bit arithmetic.
std::int32_t parseInteger(const char* text);
// Decimal text of any 32-bit value; out holds at least 12 bytes.
void formatInteger(char* out, std::int32_t value);
// Halves away from zero, through double precision: 2.5 -> 3, -2.5 -> -3.
std::int32_t roundHalfAway(float x);
// x with exactly decimals digits after a '.'; out holds at least 14 + decimals bytes.
void formatFixed(char* out, float x, int decimals);
// First case-insensitive (ASCII letters) match of needle in haystack, or nullptr.
const char* findTextNoCase(const char* haystack, const char* needle);

// Packed entries: a fixed header of headerSize bytes, count NUL-terminated strings, padding to
// a multiple of 4 counted from the first entry. Advances offset past the entry whose strings
// start at strings.
void nextPackedEntry(std::int32_t* offset, int headerSize, const char* strings, int count);
// Whether the entry at offset (counted from entries) lies wholly within size bytes: its header
// and all count strings, each with its terminator. Walkers test this before reading an entry.
bool packedEntryFits(const std::uint8_t* entries, std::int32_t size, std::int32_t offset, int headerSize,
                     int count);
// The i-th string of the entry at entries + offset (the entry must fit).
const char* packedEntryString(const std::uint8_t* entries, std::int32_t offset, int headerSize, int i);

// Truncation toward zero to 32 bits, defined for every input: NaN gives 0 and values beyond the
// 32-bit range give its nearest end (as the handheld's float-to-integer instruction does).
std::int32_t truncateToInt32(double x);
// ASCII letter folding ('a'..'z' to 'A'..'Z'; other bytes unchanged) and the equality it gives.
inline unsigned char foldCase(unsigned char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; }
bool equalsNoCase(const char* a, const char* b);
