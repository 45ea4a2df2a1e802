// Little-endian reads from stored bytes. The data files are little-endian and fields may sit at
// any alignment, so every multi-byte value is assembled byte by byte.
#pragma once
#include <cstdint>

inline std::uint16_t readU16(const std::uint8_t* p) { return std::uint16_t(p[0] | (p[1] << 8)); }
inline std::int16_t readS16(const std::uint8_t* p) { return std::int16_t(readU16(p)); }
inline std::uint32_t readU32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}
inline std::int8_t readS8(const std::uint8_t* p) { return std::int8_t(p[0]); }
