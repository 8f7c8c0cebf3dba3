// Little-endian numbers in byte buffers, for the tools that write and read the
// show's file formats (bitmaps, the module).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Appends the low two or four bytes of v, lowest first.
inline void append16(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}

inline void append32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    append16(out, v & 0xFFFF);
    append16(out, v >> 16);
}

// Writes them over the bytes at `at`, which must exist.
inline void put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v)
{
    b[at] = std::uint8_t(v);
    b[at + 1] = std::uint8_t(v >> 8);
}

inline void put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v)
{
    put16(b, at, v & 0xFFFF);
    put16(b, at + 2, v >> 16);
}

// Reads them from the bytes at `at`, which must exist.
inline std::uint32_t get16(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return b[at] | std::uint32_t(b[at + 1]) << 8;
}

inline std::uint32_t get32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return get16(b, at) | get16(b, at + 2) << 16;
}
