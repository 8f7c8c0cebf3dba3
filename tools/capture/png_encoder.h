// PNG files of captured frames: encoded in memory, so that worker threads can do
// it, with the compression the capture chose by measurement (bench/capture).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// zlib level and row filter of the PNG files, chosen with bench/capture/png_bench:
// level 3 with no filter makes files 6 % larger than libpng's default (level 6,
// adaptive filters) in a fifth of the time. (No filter is the smallest choice at
// every level for the show's frames; level 6 without filters would be smaller than
// the default at a third of its time.)
struct PngCompression {
    int level = 3;
    int filter = 0x08;  // PNG_FILTER_NONE
};

// width x height RGBA pixels, top row first, as an 8-bit RGB PNG (the frame
// buffer's alpha is not part of the picture). The same pixels and compression
// always give the same bytes. Empty when libpng fails.
std::vector<std::uint8_t> encodePng(const std::uint8_t* rgba, int width, int height,
                                    const PngCompression& compression = PngCompression());

// Writes `bytes` to `path` whole; false when the file cannot be written.
bool writeWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
