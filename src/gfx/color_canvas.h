// An in-memory picture of Color pixels, addressed (row, column), on which the
// procedural textures are painted: bounded pixel writes, lines, circle outlines
// and rings, filled discs, a radial gradient, and four blend kinds. Every shape
// is written through setPixel, so whatever leaves the canvas is cut off.
// Floating-point values become integers by truncation toward zero.
#pragma once

#include <cstdint>
#include <vector>

#include "gfx/color.h"

enum BlendKind : unsigned {
    AddScaled = 0,       // d + trunc(s x k), clamped at 255
    Mix = 1,             // trunc(d x (1 - k) + s x k), clamped at 255
    Add = 2,             // d + s, clamped at 255 (k ignored)
    SubtractScaled = 3,  // d - trunc(s x k), clamped at 0
};

class ColorCanvas {
public:
    // `rows` rows of `columns` black pixels (negative sizes count as 0).
    ColorCanvas(std::int32_t rows, std::int32_t columns);
    ColorCanvas(const ColorCanvas&) = delete;
    ColorCanvas& operator=(const ColorCanvas&) = delete;

    std::int32_t rowCount() const { return rows; }
    std::int32_t columnCount() const { return columns; }
    // The pixel at (row, column); the position must lie on the canvas.
    Color pixel(std::int32_t row, std::int32_t column) const { return pixels[row][column]; }

    // Writes only when 0 <= row < rows and 0 <= column < columns.
    void setPixel(std::int32_t row, std::int32_t column, Color colour);
    void fill(Color colour);
    void clear();
    void drawLine(std::int32_t row0, std::int32_t column0, std::int32_t row1, std::int32_t column1,
                  Color colour);
    // width 1: the outline (outlineOnly ignored); width w > 1 or < 1: a ring of w
    // outlines around `radius`, or with outlineOnly just its inner and outer edge.
    void drawCircle(std::int32_t centreRow, std::int32_t centreColumn, std::int32_t radius, Color colour,
                    std::int32_t width, bool outlineOnly);
    void drawDisc(std::int32_t centreRow, std::int32_t centreColumn, std::int32_t radius, Color colour);
    // colour x (1 - d²/radius²) at distance d < radius; the rest stays untouched.
    void drawRadialGradient(std::int32_t centreRow, std::int32_t centreColumn, std::int32_t radius,
                            Color colour);
    // Combines `source` into this canvas channel by channel (BlendKind); any other
    // kind does nothing. Only positions that lie on both canvases are changed.
    void blend(unsigned kind, float factor, const ColorCanvas& source);

private:
    void drawSpan(long long row, long long c0, long long c1, Color colour);
    void drawOutline(std::int32_t centreRow, std::int32_t centreColumn, std::int32_t radius, Color colour);

    std::vector<std::vector<Color>> pixels;  // one array per row
    std::int32_t rows = 0;
    std::int32_t columns = 0;
};
