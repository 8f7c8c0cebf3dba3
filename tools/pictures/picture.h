// Pictures as the media tools pass them around: top row first, tightly packed.
// The BMP files the show loads are bottom-up; only bmp_io turns rows over.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct RgbaPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // width x height x 4: red, green, blue, alpha
};

struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // width x height x 3: red, green, blue

    RgbPicture() = default;
    RgbPicture(int w, int h) : width(w), height(h), pixels(std::size_t(w) * h * 3, 0) {}
    std::uint8_t* at(int x, int y) { return &pixels[(std::size_t(y) * width + x) * 3]; }
    const std::uint8_t* at(int x, int y) const { return &pixels[(std::size_t(y) * width + x) * 3]; }
};

// The result of a tool step: empty when it worked, else a sentence naming the
// file and the reason.
using PictureError = std::string;
