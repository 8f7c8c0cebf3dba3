// ColorCanvas: integer raster primitives and blends, exact to the pixel.
#include "gfx/color_canvas.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr int channelMax = 255;

// Truncation toward zero, the one float-to-integer conversion of the canvas.
// Values beyond the 32-bit range (far off any canvas) saturate instead of
// overflowing.
long long toInt(double v)
{
    constexpr double limit = 4.0e18;
    return static_cast<long long>(std::clamp(v, -limit, limit));
}

int clampChannel(long long v) { return static_cast<int>(std::clamp<long long>(v, 0, channelMax)); }

// One channel of a blend: d and s are the 8-bit values.
long long blendChannel(unsigned kind, float k, int d, int s)
{
    switch (kind) {
    case AddScaled:
        return d + toInt(static_cast<float>(s) * k);
    case Mix: {
        const float keep = 1.0f - k;
        const float take = static_cast<float>(s) * k;
        return toInt(static_cast<float>(d) * keep + take);
    }
    case Add:
        return d + s;
    case SubtractScaled:
        return d - toInt(static_cast<float>(s) * k);
    }
    return d;
}

// The half-width of a circle of radius rho at row offset k, as an integer.
long long halfWidth(long long rho, long long k)
{
    return toInt(std::sqrt(static_cast<double>(rho * rho - k * k)));
}

}  // namespace

ColorCanvas::ColorCanvas(std::int32_t rowCount, std::int32_t columnCount)
    : rows(std::max(rowCount, 0)), columns(std::max(columnCount, 0))
{
    pixels.assign(rows, std::vector<Color>(columns));
}

void ColorCanvas::setPixel(std::int32_t row, std::int32_t column, Color colour)
{
    if (row >= 0 && row < rows && column >= 0 && column < columns) pixels[row][column] = colour;
}

void ColorCanvas::fill(Color colour)
{
    for (std::int32_t r = 0; r < rows; ++r)
        for (std::int32_t c = 0; c < columns; ++c) setPixel(r, c, colour);
}

void ColorCanvas::clear() { fill(Color(0, 0, 0)); }

// Every column from c0 to c1 inclusive in one row, in increasing order; only the
// part on the canvas is walked.
void ColorCanvas::drawSpan(long long row, long long c0, long long c1, Color colour)
{
    if (c0 > c1) std::swap(c0, c1);
    if (row < 0 || row >= rows) return;
    c0 = std::max<long long>(c0, 0);
    c1 = std::min<long long>(c1, columns - 1LL);
    for (long long c = c0; c <= c1; ++c) pixels[row][c] = colour;
}

// Rows are walked from the smaller index to the larger; each row gets the span from the
// previous row's column to its own, so steep lines stay connected. No state runs
// from row to row, so rows off the canvas are not walked at all.
void ColorCanvas::drawLine(std::int32_t row0, std::int32_t column0, std::int32_t row1, std::int32_t column1,
                           Color colour)
{
    if (row0 == row1 && column0 == column1) {
        setPixel(row0, column0, colour);
        return;
    }
    if (row0 > row1) {
        std::swap(row0, row1);
        std::swap(column0, column1);
    }
    const long long dr = static_cast<long long>(row1) - row0;
    const long long dc = static_cast<long long>(column1) - column0;
    if (dr == 0) {
        drawSpan(row0, column0, column1, colour);
        return;
    }
    const double squares = static_cast<double>(dr) * dr + static_cast<double>(dc) * dc;
    const float n = static_cast<float>(1.0 / std::sqrt(squares));
    const float m = (static_cast<float>(dc) * n) / (static_cast<float>(dr) * n);
    const long long k = column0 - toInt(static_cast<float>(row0) * m);
    const long long first = std::max<long long>(row0, 0);
    const long long last = std::min<long long>(row1, rows - 1LL);
    for (long long r = first; r <= last; ++r) {
        const long long c = toInt(static_cast<float>(r) * m) + k;
        const long long p = c == column0 ? c : toInt(static_cast<float>(r - 1) * m) + k;
        drawSpan(r, p, c, colour);
    }
}

// Quarter by quarter: at row offset k the outline covers the columns between the
// half-widths of offsets k and k + 1, mirrored into all four quadrants.
void ColorCanvas::drawOutline(std::int32_t rc, std::int32_t cc, std::int32_t rho, Color colour)
{
    for (long long k = 0; k <= rho; ++k) {
        const long long below = static_cast<long long>(rc) + k;
        const long long above = static_cast<long long>(rc) - k;
        if (below >= rows && above < 0) break;  // both mirrored rows off the canvas
        const long long h1 = halfWidth(rho, k);
        const long long h2 = k < rho ? halfWidth(rho, k + 1) : 0;
        drawSpan(below, cc + h1, cc + h2, colour);
        drawSpan(below, cc - h1, cc - h2, colour);
        drawSpan(above, cc + h1, cc + h2, colour);
        drawSpan(above, cc - h1, cc - h2, colour);
    }
}

void ColorCanvas::drawCircle(std::int32_t rc, std::int32_t cc, std::int32_t rho, Color colour,
                             std::int32_t width, bool outlineOnly)
{
    if (width == 1) {
        drawOutline(rc, cc, rho, colour);
    } else if (outlineOnly) {
        drawOutline(rc, cc, rho - width / 2, colour);
        drawOutline(rc, cc, rho + width / 2, colour);
    } else {
        for (std::int32_t i = 0; i < width; ++i)
            drawOutline(rc, cc, static_cast<std::int32_t>(rho + i - width / 2), colour);
    }
}

void ColorCanvas::drawDisc(std::int32_t rc, std::int32_t cc, std::int32_t rho, Color colour)
{
    for (std::int32_t radius = 0; radius <= rho; ++radius) drawOutline(rc, cc, radius, colour);
}

void ColorCanvas::drawRadialGradient(std::int32_t rc, std::int32_t cc, std::int32_t rho, Color colour)
{
    if (rho <= 0) return;
    const double rho2 = static_cast<double>(rho) * rho;
    for (long long i = 0; i < rho; ++i) {
        if (rc + i >= rows && rc - i < 0) break;  // both mirrored rows off the canvas
        for (long long j = 0; j < rho; ++j) {
            const double f = 1.0 - static_cast<double>(j * j + i * i) / rho2;
            if (f <= 0.0) break;  // f only falls as j grows
            const Color v(static_cast<int>(toInt(colour.red() * f)),
                          static_cast<int>(toInt(colour.green() * f)),
                          static_cast<int>(toInt(colour.blue() * f)));
            drawSpan(rc + i, cc + j, cc + j, v);
            drawSpan(rc + i, cc - j, cc - j, v);
            drawSpan(rc - i, cc - j, cc - j, v);
            drawSpan(rc - i, cc + j, cc + j, v);
        }
    }
}

void ColorCanvas::blend(unsigned kind, float factor, const ColorCanvas& source)
{
    if (kind > SubtractScaled) return;
    const std::int32_t rowEnd = std::min(rows, source.rows);
    const std::int32_t columnEnd = std::min(columns, source.columns);
    for (std::int32_t r = 0; r < rowEnd; ++r) {
        for (std::int32_t c = 0; c < columnEnd; ++c) {
            Color& d = pixels[r][c];
            const Color s = source.pixels[r][c];
            d.setRed(clampChannel(blendChannel(kind, factor, d.red(), s.red())));
            d.setGreen(clampChannel(blendChannel(kind, factor, d.green(), s.green())));
            d.setBlue(clampChannel(blendChannel(kind, factor, d.blue(), s.blue())));
        }
    }
}
