// Little-endian numbers in bytes: the order of every file the program and its tools
// read and write (the archive, bitmaps, the WAV file, the module). The tools and the
// tests have their helpers for byte vectors on top of these.
#pragma once

#include <cstdint>

namespace platform {

inline std::uint16_t le16(const std::uint8_t* p) { return std::uint16_t(p[0] | p[1] << 8); }
inline std::uint32_t le32(const std::uint8_t* p)
{
    return std::uint32_t(le16(p)) | std::uint32_t(le16(p + 2)) << 16;
}

// The low two or four bytes of v, lowest first.
inline void put16(std::uint8_t* p, std::uint32_t v)
{
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}

inline void put32(std::uint8_t* p, std::uint32_t v)
{
    put16(p, v & 0xFFFF);
    put16(p + 2, v >> 16);
}

}  // namespace platform
