// Little-endian numbers in byte vectors and strings, for tests that build files by
// hand or read them back, on the program's own helper.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/common/little_endian.h"

// Appends the low two or four bytes of v, lowest first.
inline void put16(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    out.resize(out.size() + 2);
    platform::put16(out.data() + out.size() - 2, v);
}

inline void put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    out.resize(out.size() + 4);
    platform::put32(out.data() + out.size() - 4, v);
}

// Writes them over the bytes at `at`, which must exist.
inline void put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v)
{
    platform::put16(&b[at], v);
}
inline void put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v)
{
    platform::put32(&b[at], v);
}

// Reads four bytes at `at` of a file's contents, which must exist.
inline std::uint32_t get32(const std::string& bytes, std::size_t at)
{
    return platform::le32(reinterpret_cast<const std::uint8_t*>(bytes.data() + at));
}
