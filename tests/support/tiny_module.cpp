#include "tiny_module.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "little_endian.h"

namespace {

constexpr std::size_t headerBytes = 0xC0;
constexpr std::size_t sampleHeaderBytes = 0x50;
constexpr std::uint32_t squareLength = 100;  // 441 Hz at a C-5 speed of 44100
constexpr int patternRows = 32;

void writeSongHeader(std::vector<std::uint8_t>& b)
{
    std::memcpy(&b[0], "IMPMtiny", 8);
    put16(b, 0x20, 2);       // orders: pattern 0, end of song
    put16(b, 0x22, 0);       // instruments
    put16(b, 0x24, 1);       // samples
    put16(b, 0x26, 1);       // patterns
    put16(b, 0x28, 0x0214);  // made with / compatible with 2.14
    put16(b, 0x2A, 0x0214);
    put16(b, 0x2C, 0x0009);  // stereo, linear slides
    b[0x30] = 128;           // global volume
    b[0x31] = 48;            // mix volume
    b[0x32] = 6;             // speed
    b[0x33] = 125;           // tempo
    b[0x34] = 128;           // separation
    for (int ch = 0; ch < 64; ++ch) {
        b[0x40 + ch] = 32;
        b[0x80 + ch] = 64;
    }
    b[0xC0] = 0;
    b[0xC1] = 255;
}

void writeSampleHeader(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t dataOffset)
{
    std::memcpy(&b[at], "IMPS", 4);
    b[at + 0x11] = 64;           // global volume
    b[at + 0x12] = 0x01 | 0x10;  // has data, looped
    b[at + 0x13] = 64;           // volume
    b[at + 0x2E] = 1;            // signed samples
    put32(b, at + 0x30, squareLength);
    put32(b, at + 0x34, 0);
    put32(b, at + 0x38, squareLength);
    put32(b, at + 0x3C, 44100);
    put32(b, at + 0x48, dataOffset);
}

std::vector<std::uint8_t> packedPattern()
{
    // Row 0: channel 1 plays C-5 with sample 1; every other row is empty.
    std::vector<std::uint8_t> rows = {0x81, 0x03, 60, 1, 0};
    rows.resize(rows.size() + patternRows - 1, 0);
    std::vector<std::uint8_t> pattern(8, 0);
    put16(pattern, 0, std::uint32_t(rows.size()));
    put16(pattern, 2, patternRows);
    pattern.insert(pattern.end(), rows.begin(), rows.end());
    return pattern;
}

}  // namespace

std::vector<std::uint8_t> tinyModule()
{
    const std::size_t offsets = headerBytes + 2;
    const std::size_t sampleAt = offsets + 8;
    const std::size_t patternAt = sampleAt + sampleHeaderBytes;
    const std::vector<std::uint8_t> pattern = packedPattern();
    const std::size_t dataAt = patternAt + pattern.size();
    std::vector<std::uint8_t> b(dataAt, 0);
    writeSongHeader(b);
    put32(b, offsets, std::uint32_t(sampleAt));
    put32(b, offsets + 4, std::uint32_t(patternAt));
    writeSampleHeader(b, sampleAt, std::uint32_t(dataAt));
    std::memcpy(&b[patternAt], pattern.data(), pattern.size());
    for (std::uint32_t i = 0; i < squareLength; ++i) b.push_back(i < squareLength / 2 ? 0x40 : 0xC0);
    return b;
}

bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

const std::string& scratchDirectory()
{
    struct Scratch {
        std::string path;
        Scratch()
        {
            const char* base = std::getenv("TMPDIR");
            std::string pattern = std::string(base && *base ? base : "/tmp") + "/zw-platform-XXXXXX";
            if (::mkdtemp(pattern.data())) path = pattern;
        }
        ~Scratch()
        {
            std::error_code ignored;
            if (!path.empty()) std::filesystem::remove_all(path, ignored);
        }
    };
    static const Scratch scratch;
    return scratch.path;
}
