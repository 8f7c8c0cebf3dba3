// Windows bitmap files decoded to tightly packed RGB.
#pragma once

#include <cstdint>

// Bottom row first, each row width x 3 bytes (red, green, blue), no padding.
// The record and the pixel block come from the C heap; the owner frees both
// (freeRgbImage).
struct RgbImage {
    std::int32_t width;
    std::int32_t height;
    std::uint8_t* pixels;
};

// Decodes a bitmap file; on failure shows a message box (caption "Error") and
// returns null.
RgbImage* loadBmp(const char* path);
void freeRgbImage(RgbImage* image);
