// Test pictures and bitmap files: PPM in and out, ImageMagick as the independent
// encoder and decoder, and hand-built bitmap files for what it cannot write.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "little_endian.h"  // append16, append32: for building pixel data by hand

using Bytes = std::vector<std::uint8_t>;

// RGB, top row first (as a viewer sees the picture).
struct Picture {
    int width = 0;
    int height = 0;
    Bytes rgb;
};

// An asymmetric picture with horizontal runs (so RLE has something to do): no
// two of its corners alike, no channel equal to another.
Picture testPicture(int width, int height);
// The same rows bottom row first, as loadBmp returns them.
Bytes bottomUp(const Picture& picture);

bool writeFile(const std::string& path, const Bytes& bytes);
Bytes readFile(const std::string& path);
bool writePpm(const std::string& path, const Picture& picture);
bool readPpm(const std::string& path, Picture& picture);

// Runs ImageMagick's convert with the arguments; true on success.
bool imageMagick(const std::string& arguments);
bool imageMagickAvailable();

// A fresh directory under the system's temporary directory.
std::string makeTempDirectory();

// Hand-built bitmap files. Palette entries are blue, green, red (, 0 for info).
struct BmpLayout {
    std::uint32_t headerSize = 40;  // 12 or 40 (others for refusal tests)
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t bitsPerPixel = 24;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
    std::vector<std::uint32_t> masks;  // written behind the info header when present
    Bytes palette;                     // raw table bytes
    Bytes pixels;                      // raw pixel data
    bool bare = false;                 // no 14-byte file header
};
Bytes buildBmp(const BmpLayout& layout);
