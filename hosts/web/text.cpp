// Text and handles at the edge between the program and the page: UTF-16 to UTF-8 for JSON, what
// the page may type (the program's text is 8-bit: a character is typed only when it is one byte
// widened, U+0020..U+007E or U+00A0..U+00FF, plus backspace and Enter), base64, window ids.
#include "hosts/web/web.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void appendUtf8(std::string& out, std::uint32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// The next code point of UTF-8 text, or 0xFFFD for a malformed sequence (one byte consumed).
std::uint32_t nextCodePoint(const std::string& s, std::size_t* i)
{
    unsigned char lead = (unsigned char)s[*i];
    int extra = lead < 0x80 ? 0 : (lead >> 5) == 6 ? 1 : (lead >> 4) == 14 ? 2 : (lead >> 3) == 30 ? 3 : -1;
    if (extra < 0 || *i + std::size_t(extra) >= s.size()) {
        ++*i;
        return 0xFFFD;
    }
    std::uint32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        unsigned char b = (unsigned char)s[*i + std::size_t(k)];
        if ((b & 0xC0) != 0x80) {
            ++*i;
            return 0xFFFD;
        }
        c = (c << 6) | (b & 0x3F);
    }
    *i += std::size_t(extra) + 1;
    return c;
}

}  // namespace

std::string webUtf8(const std::u16string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;
        }
        appendUtf8(out, c);
    }
    return out;
}

std::u16string webTyped(const std::string& utf8)
{
    std::u16string out;
    for (std::size_t i = 0; i < utf8.size();) {
        std::uint32_t c = nextCodePoint(utf8, &i);
        if (c == 8 || c == u'\r')
            out.push_back(char16_t(c));
        else if (c == u'\n')
            out.push_back(u'\r');
        else if ((c >= 0x20 && c < 0x7F) || (c >= 0xA0 && c <= 0xFF))
            out.push_back(char16_t(c));
    }
    return out;
}

std::string webBase64(const std::string& bytes)
{
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        std::uint32_t v = std::uint32_t((unsigned char)bytes[i]) << 16;
        if (i + 1 < bytes.size())
            v |= std::uint32_t((unsigned char)bytes[i + 1]) << 8;
        if (i + 2 < bytes.size())
            v |= (unsigned char)bytes[i + 2];
        out += digits[(v >> 18) & 63];
        out += digits[(v >> 12) & 63];
        out += i + 1 < bytes.size() ? digits[(v >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? digits[v & 63] : '=';
    }
    return out;
}

std::string webHandleId(HWND window)
{
    char id[32];
    std::snprintf(id, sizeof id, "w%llx", (unsigned long long)(std::uintptr_t)window);
    return id;
}

HWND webHandleFromId(const std::string& id)
{
    if (id.size() < 2 || id.size() > 17 || id[0] != 'w')
        return nullptr;
    for (std::size_t i = 1; i < id.size(); ++i)
        if (!std::isxdigit((unsigned char)id[i]))
            return nullptr;
    return reinterpret_cast<HWND>(std::uintptr_t(std::strtoull(id.c_str() + 1, nullptr, 16)));
}
