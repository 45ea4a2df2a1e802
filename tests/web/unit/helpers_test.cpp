// zura-web's edge helpers: UTF-16 to UTF-8 for the page, what may be typed, base64, PNG files of
// window surfaces and window ids.
#include "hosts/web/web.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>

namespace {

TEST(WebText, Utf8OfProgramText)
{
    struct Case {
        const char* name;
        std::u16string in;
        std::string out;
    } cases[] = {
        {"ascii", u"Next", "Next"},
        {"latin-1 byte widened", u"\u00b5g \u00e9", "\xc2\xb5g \xc3\xa9"},
        {"three-byte", u"\u2022", "\xe2\x80\xa2"},
        {"surrogate pair", u"\U0001F600", "\xf0\x9f\x98\x80"},
        {"lone high surrogate", std::u16string(1, char16_t(0xD800)) + u"a", "\xef\xbf\xbd" "a"},
        {"lone low surrogate", std::u16string(1, char16_t(0xDC00)), "\xef\xbf\xbd"},
        {"empty", u"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(webUtf8(c.in), c.out) << c.name;
}

TEST(WebText, OnlyOneByteCharactersAreTyped)
{
    struct Case {
        const char* name;
        std::string in;
        std::u16string out;
    } cases[] = {
        {"digits", "12.5", u"12.5"},
        {"latin-1", "\xc2\xb5" "g", u"\u00b5g"},
        {"backspace and enter", "\b\r", u"\b\r"},
        {"newline is Enter", "\n", u"\r"},
        {"euro sign dropped", "\xe2\x82\xac" "5", u"5"},
        {"control characters dropped", std::string("\x01\x1b\x7f", 3), u""},
        {"C1 range dropped", "\xc2\x85", u""},
        {"malformed UTF-8 dropped", "\xff\xc3", u""},
        {"cut sequence", "a\xe2\x82", u"a"},
        {"emoji dropped", "\xf0\x9f\x98\x80", u""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(webTyped(c.in), c.out) << c.name;
}

TEST(WebText, Base64)
{
    struct Case {
        std::string in, out;
    } cases[] = {{"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foob", "Zm9vYg=="},
                 {std::string("\xff\x00\x80", 3), "/wCA"}};
    for (const Case& c : cases)
        EXPECT_EQ(webBase64(c.in), c.out) << c.out;
}

TEST(WebText, WindowIds)
{
    HWND window = reinterpret_cast<HWND>(std::uintptr_t(0x7f12ab30));
    EXPECT_EQ(webHandleId(window), "w7f12ab30");
    EXPECT_EQ(webHandleFromId("w7f12ab30"), window);
    for (const char* bad : {"", "w", "7f12", "wxyz", "w12 ", "../w1", "w12345678901234567"})
        EXPECT_EQ(webHandleFromId(bad), nullptr) << bad;
}

std::uint32_t be32(const std::string& s, std::size_t at)
{
    return std::uint32_t((unsigned char)s[at]) << 24 | std::uint32_t((unsigned char)s[at + 1]) << 16 |
           std::uint32_t((unsigned char)s[at + 2]) << 8 | (unsigned char)s[at + 3];
}

TEST(WebPng, HoldsThePixelsRowByRow)
{
    const COLORREF pixels[] = {RGB(255, 0, 0), RGB(0, 128, 0), RGB(1, 2, 3),
                               RGB(0, 0, 255), RGB(255, 255, 255), RGB(0, 0, 0)};
    std::string png = webPng(3, 2, pixels);
    ASSERT_GT(png.size(), 8u + 25 + 12 + 12);
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_EQ(png.substr(12, 4), "IHDR");
    EXPECT_EQ(be32(png, 16), 3u);
    EXPECT_EQ(be32(png, 20), 2u);
    EXPECT_EQ(png.substr(24, 5), std::string("\x08\x02\x00\x00\x00", 5));
    // Every chunk's CRC covers its type and data.
    std::size_t at = 8;
    std::string idat;
    while (at + 12 <= png.size()) {
        std::uint32_t length = be32(png, at);
        std::string typeAndData = png.substr(at + 4, 4 + length);
        EXPECT_EQ(be32(png, at + 8 + length), crc32(0, (const Bytef*)typeAndData.data(), uInt(typeAndData.size())))
            << typeAndData.substr(0, 4);
        if (typeAndData.substr(0, 4) == "IDAT")
            idat += typeAndData.substr(4);
        at += 12 + length;
    }
    EXPECT_EQ(at, png.size());
    std::string raw(2 * (1 + 3 * 3), '\0');
    uLongf rawSize = uLongf(raw.size());
    ASSERT_EQ(uncompress((Bytef*)raw.data(), &rawSize, (const Bytef*)idat.data(), uLong(idat.size())), Z_OK);
    EXPECT_EQ(raw, std::string("\0\xff\0\0\0\x80\0\x01\x02\x03"
                               "\0\0\0\xff\xff\xff\xff\0\0\0", 20));
}

TEST(WebPng, NothingForAnEmptySurface)
{
    const COLORREF pixel = 0;
    EXPECT_EQ(webPng(0, 1, &pixel), "");
    EXPECT_EQ(webPng(1, -1, &pixel), "");
    EXPECT_EQ(webPng(1, 1, nullptr), "");
}

}  // namespace
