// Windows bitmap files decoded to tightly packed RGB.
//
// Accepted: "BM" files and bare bitmaps (header at byte 0); core (12-byte) and
// info (40-byte) headers; 1, 4, 8, 16, 24 and 32 bits per pixel; uncompressed,
// RLE8, RLE4 and bit-field (16/32-bit) data; bottom-up and top-down row order.
// A top-down picture comes out the right way up with a positive height.
//
// The decoder shows nothing: a failure comes back as its kind (BmpFailure), and
// the texture layer says it to the user. It never reads past the end of the file;
// RLE pixels that the stream skips, and palette indices beyond the colour table,
// are black.
#pragma once

#include <cstddef>
#include <cstdint>

// Bottom row first, each row width x 3 bytes (red, green, blue), no padding.
// The record and the pixel block come from the C heap; the owner frees both
// (freeRgbImage).
struct RgbImage {
    std::int32_t width;
    std::int32_t height;
    std::uint8_t* pixels;
};

// The largest output accepted, in bytes (width x height x 3); bigger pictures
// are refused as outOfMemory before anything is allocated.
constexpr std::size_t maxBmpOutputBytes = std::size_t(256) << 20;

// Why a picture could not be had.
enum class BmpFailure {
    none,
    unreadable,     // the file cannot be read, or is empty
    unknownFormat,  // the header size is neither 12 nor 40
    outOfMemory,    // the picture or the file is absurdly large, or storage ran out
    conversion,     // anything else: truncated data, unknown depth or compression, zero size ...
};

// Decodes a bitmap file into `image` (null on failure) and says how it went.
BmpFailure loadBmp(const char* path, RgbImage*& image);
// The same on bytes already in memory. `maxOutputBytes` lowers the output limit
// for a caller that wants less (the fuzz harness: a few bytes of RLE can ask for
// the whole limit, which takes long to fill).
BmpFailure decodeBmp(const std::uint8_t* bytes, std::size_t size, RgbImage*& image,
                     std::size_t maxOutputBytes = maxBmpOutputBytes);
// Frees the pixel block and the record; null is allowed.
void freeRgbImage(RgbImage* image);
