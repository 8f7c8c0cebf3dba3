// A three-byte RGB colour: a GL colour argument and a canvas pixel. Laid out as
// red, green, blue, the byte order of GL_RGB texels and of glColor3ub.
#pragma once

#include <cstddef>
#include <cstdint>

struct Color {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    Color() = default;                   // black
    Color(int red, int green, int blue)  // each cut to its low byte
        : r(static_cast<std::uint8_t>(red)), g(static_cast<std::uint8_t>(green)),
          b(static_cast<std::uint8_t>(blue))
    {
    }
    Color(const Color& other) = default;
    // Copies the three bytes and returns a copy.
    Color operator=(const Color& other)
    {
        r = other.r;
        g = other.g;
        b = other.b;
        return *this;
    }

    std::uint8_t red() const { return r; }
    std::uint8_t green() const { return g; }
    std::uint8_t blue() const { return b; }
    // Store the low byte of v; callers clamp wider values first.
    void setRed(int v) { r = static_cast<std::uint8_t>(v); }
    void setGreen(int v) { g = static_cast<std::uint8_t>(v); }
    void setBlue(int v) { b = static_cast<std::uint8_t>(v); }
};

static_assert(sizeof(Color) == 3);
static_assert(offsetof(Color, r) == 0 && offsetof(Color, g) == 1 && offsetof(Color, b) == 2);
