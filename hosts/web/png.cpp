// A small PNG writer for the window surfaces the page shows (title strip, owner-drawn buttons):
// 8-bit RGB, no interlace, one zlib stream of filter-0 rows.
#include "hosts/web/web.h"

#include <zlib.h>

#include <cstdint>

namespace {

void put32(std::string& out, std::uint32_t v)
{
    out += char(v >> 24);
    out += char(v >> 16);
    out += char(v >> 8);
    out += char(v);
}

void chunk(std::string& out, const char* type, const std::string& data)
{
    put32(out, std::uint32_t(data.size()));
    std::string body = std::string(type, 4) + data;
    out += body;
    put32(out, std::uint32_t(crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()))));
}

}  // namespace

std::string webPng(int width, int height, const COLORREF* pixels)
{
    if (width <= 0 || height <= 0 || !pixels)
        return {};
    std::string raw;
    raw.reserve(std::size_t(height) * (std::size_t(width) * 3 + 1));
    for (int y = 0; y < height; ++y) {
        raw += '\0';
        for (int x = 0; x < width; ++x) {
            COLORREF c = pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)];
            raw += char(c & 0xFF);
            raw += char((c >> 8) & 0xFF);
            raw += char((c >> 16) & 0xFF);
        }
    }
    uLongf packedSize = compressBound(uLong(raw.size()));
    std::string packed(packedSize, '\0');
    if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(raw.data()),
                  uLong(raw.size()), 6) != Z_OK)
        return {};
    packed.resize(packedSize);
    std::string header;
    put32(header, std::uint32_t(width));
    put32(header, std::uint32_t(height));
    header += std::string("\x08\x02\x00\x00\x00", 5);   // 8 bits, RGB, deflate, filter 0, no interlace
    std::string out = "\x89PNG\r\n\x1a\n";
    chunk(out, "IHDR", header);
    chunk(out, "IDAT", packed);
    chunk(out, "IEND", "");
    return out;
}
