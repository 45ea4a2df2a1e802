// Whole numbers in and out of text, rounding, fixed-point output, a case-insensitive search and
// the step between packed entries. Integer arithmetic runs unsigned so that overflow wraps as
// 32-bit arithmetic would, instead of being undefined.
#include "dosecalc/numtext.h"

#include <cstring>

std::int32_t truncateToInt32(double x)
{
    if (x != x)
        return 0;
    if (x >= 2147483648.0)
        return INT32_MAX;
    if (x <= -2147483649.0)
        return INT32_MIN;
    return std::int32_t(x);
}

std::int32_t parseInteger(const char* text)
{
    if (!text)
        return 0;
    bool negative = text[0] == '-';
    const char* p = negative ? text + 1 : text;
    std::uint32_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        value = value * 10u + std::uint32_t(*p - '0');
    return std::int32_t(negative ? 0u - value : value);
}

void formatInteger(char* out, std::int32_t value)
{
    std::uint32_t magnitude = value < 0 ? 0u - std::uint32_t(value) : std::uint32_t(value);
    char reversed[10];
    int n = 0;
    do {
        reversed[n++] = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (value < 0)
        *out++ = '-';
    while (n)
        *out++ = reversed[--n];
    *out = 0;
}

std::int32_t roundHalfAway(float x)
{
    double wide = x;
    return truncateToInt32(x >= 0 ? wide + 0.5 : wide - 0.5);
}

// The zero padding and the point go after the sign, so that a negative value reads -0.05 and
// not 0.-5 (no caller formats negative values; this keeps the text sound if one does).
void formatFixed(char* out, float x, int decimals)
{
    if (decimals < 0)
        decimals = 0;
    float scale = 1.0f;
    for (int i = 0; i < decimals; ++i)
        scale *= 10.0f;
    float scaled = x * scale;
    char digits[12];
    formatInteger(digits, roundHalfAway(scaled));
    const char* magnitude = digits[0] == '-' ? digits + 1 : digits;
    if (magnitude != digits)
        *out++ = '-';
    int length = int(std::strlen(magnitude));
    int total = length > decimals ? length : decimals + 1;   // pad on the left to decimals + 1 digits
    int zeros = total - length;
    for (int i = 0; i < total; ++i) {
        if (decimals > 0 && i == total - decimals)
            *out++ = '.';
        *out++ = i < zeros ? '0' : magnitude[i - zeros];
    }
    *out = 0;
}

const char* findTextNoCase(const char* haystack, const char* needle)
{
    if (!haystack || !needle)
        return nullptr;
    std::size_t n = std::strlen(needle);
    std::size_t h = std::strlen(haystack);
    if (n > h)
        return nullptr;
    const unsigned char* hay = reinterpret_cast<const unsigned char*>(haystack);
    const unsigned char* pin = reinterpret_cast<const unsigned char*>(needle);
    // Windows are compared in full only when their folded byte sums agree with the needle's.
    std::uint32_t needleSum = 0, windowSum = 0;
    for (std::size_t i = 0; i < n; ++i) {
        needleSum += foldCase(pin[i]);
        windowSum += foldCase(hay[i]);
    }
    for (std::size_t at = 0;; ++at) {
        if (windowSum == needleSum) {
            std::size_t i = 0;
            while (i < n && foldCase(hay[at + i]) == foldCase(pin[i]))
                ++i;
            if (i == n)
                return haystack + at;
        }
        if (at + n >= h)
            return nullptr;
        windowSum += foldCase(hay[at + n]);
        windowSum -= foldCase(hay[at]);
    }
}

bool equalsNoCase(const char* a, const char* b)
{
    if (!a || !b)
        return false;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(a);
    const unsigned char* q = reinterpret_cast<const unsigned char*>(b);
    for (; *p || *q; ++p, ++q)
        if (foldCase(*p) != foldCase(*q))
            return false;
    return true;
}

// Offsets are counted from the first entry, so the padding rounds the offset itself up to 4.
void nextPackedEntry(std::int32_t* offset, int headerSize, const char* strings, int count)
{
    std::uint32_t end = std::uint32_t(*offset) + std::uint32_t(headerSize);
    const char* s = strings;
    for (int i = 0; i < count; ++i) {
        std::size_t length = std::strlen(s) + 1;
        end += std::uint32_t(length);
        s += length;
    }
    end = (end + 3u) & ~3u;
    *offset = std::int32_t(end);
}

bool packedEntryFits(const std::uint8_t* entries, std::int32_t size, std::int32_t offset, int headerSize, int count)
{
    if (!entries || size < 0 || offset < 0 || headerSize < 0 || count < 0)
        return false;
    if (std::int64_t(offset) + headerSize > size)
        return false;
    std::int32_t at = offset + headerSize;
    for (int i = 0; i < count; ++i) {
        const void* nul = std::memchr(entries + at, 0, std::size_t(size - at));
        if (!nul)
            return false;
        at = std::int32_t(static_cast<const std::uint8_t*>(nul) - entries) + 1;
    }
    return true;
}

const char* packedEntryString(const std::uint8_t* entries, std::int32_t offset, int headerSize, int i)
{
    const char* s = reinterpret_cast<const char*>(entries + offset + headerSize);
    for (; i > 0; --i)
        s += std::strlen(s) + 1;
    return s;
}
