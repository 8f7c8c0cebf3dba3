// Windows bitmap files decoded to tightly packed RGB.
//
// Accepted: "BM" files and bare bitmaps (header at byte 0); core (12-byte) and
// info (40-byte) headers; 1, 4, 8, 16, 24 and 32 bits per pixel; uncompressed,
// RLE8, RLE4 and bit-field (16/32-bit) data; bottom-up and top-down row order.
// A top-down picture comes out the right way up with a positive height.
//
// Failures show one message box with the caption "Error" (owned by the window
// with the keyboard focus) and return null:
//   "Failed to open DIB file %s.\n"  the file cannot be read, or is empty
//   "Unknown DIB file format."       the header size is neither 12 nor 40
//   "Out of memory."                 the picture or the file is absurdly large, or
//                                    storage ran out
//   "Image file conversion error."   anything else: truncated data, unknown depth
//                                    or compression, zero size ...
// The decoder never reads past the end of the file; RLE pixels that the stream
// skips, and palette indices beyond the colour table, are black.
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
// are refused with "Out of memory." before anything is allocated.
constexpr std::size_t maxBmpOutputBytes = std::size_t(256) << 20;

// Decodes a bitmap file; on failure shows the message box and returns null.
RgbImage* loadBmp(const char* path);
// The same on bytes already in memory; `path` only names the file in messages.
RgbImage* decodeBmp(const std::uint8_t* bytes, std::size_t size, const char* path);
// Frees the pixel block and the record; null is allowed.
void freeRgbImage(RgbImage* image);
