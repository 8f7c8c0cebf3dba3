// A three-byte RGB colour: a GL colour argument and a canvas pixel.
#pragma once

#include <cstdint>

struct Color {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    Color() = default;
    Color(int red, int green, int blue);  // each cut to its low byte

    std::uint8_t red() const { return r; }
    std::uint8_t green() const { return g; }
    std::uint8_t blue() const { return b; }
    void setRed(int v) { r = static_cast<std::uint8_t>(v); }
    void setGreen(int v) { g = static_cast<std::uint8_t>(v); }
    void setBlue(int v) { b = static_cast<std::uint8_t>(v); }
};
