// Uncompressed bitmap rows to RGB: palette indices of 1, 4 and 8 bits, 24-bit
// blue-green-red, and 16- and 32-bit pixels through their channel masks.
#include <bit>

#include "media/bmp_layout.h"

namespace bmp {
namespace {

// One channel mask: where its bits start and how many there are.
struct Channel {
    std::uint32_t mask;
    int shift;
    int width;
};

Channel channelOf(std::uint32_t mask)
{
    if (mask == 0) return {0, 0, 0};
    const int shift = std::countr_zero(mask);
    return {mask, shift, static_cast<int>(std::bit_width(mask >> shift))};
}

// Scales a channel of `width` bits to 8 bits: wider ones keep their top 8 bits,
// narrower ones repeat their bits downwards, so full scale stays 255 (5 bits: v<<3|v>>2).
std::uint8_t channelValue(const Channel& ch, std::uint32_t pixel)
{
    if (ch.width == 0) return 0;
    const std::uint32_t v = (pixel & ch.mask) >> ch.shift;
    if (ch.width >= 8) return static_cast<std::uint8_t>(v >> (ch.width - 8));
    std::uint32_t out = 0;
    for (int filled = 0; filled < 8; filled += ch.width) out |= (v << 8) >> (ch.width + filled);
    return static_cast<std::uint8_t>(out);
}

void indexedRow(const Layout& l, const std::uint8_t* row, std::uint8_t* out)
{
    const int bpp = l.bitsPerPixel;
    const std::uint32_t indexMask = (1u << bpp) - 1;
    for (std::int32_t x = 0; x < l.width; ++x) {
        const std::size_t bit = std::size_t(x) * bpp;
        const int shift = 8 - bpp - int(bit % 8);  // leftmost pixel in the high bits
        const std::uint32_t index = (row[bit / 8] >> shift) & indexMask;
        paletteColour(l, index, out + std::size_t(x) * 3);
    }
}

void bgrRow(const Layout& l, const std::uint8_t* row, std::uint8_t* out)
{
    for (std::int32_t x = 0; x < l.width; ++x, row += 3, out += 3) {
        out[0] = row[2];
        out[1] = row[1];
        out[2] = row[0];
    }
}

void maskedRow(const Layout& l, const std::uint8_t* row, std::uint8_t* out)
{
    const Channel red = channelOf(l.masks[0]);
    const Channel green = channelOf(l.masks[1]);
    const Channel blue = channelOf(l.masks[2]);
    const std::size_t bytes = l.bitsPerPixel / 8;
    for (std::int32_t x = 0; x < l.width; ++x, row += bytes, out += 3) {
        std::uint32_t pixel = 0;
        for (std::size_t i = 0; i < bytes; ++i) pixel |= std::uint32_t(row[i]) << (8 * i);
        out[0] = channelValue(red, pixel);
        out[1] = channelValue(green, pixel);
        out[2] = channelValue(blue, pixel);
    }
}

}  // namespace

void convertRows(const Layout& l, std::uint8_t* out)
{
    const std::size_t rows = rowCount(l);
    const std::size_t stride = storedRowBytes(l);
    const std::size_t outRow = std::size_t(l.width) * 3;
    for (std::size_t y = 0; y < rows; ++y) {
        const std::uint8_t* row = l.bits + y * stride;
        // Stored bottom-up unless the height is negative; output is bottom-up.
        std::uint8_t* target = out + (l.height < 0 ? rows - 1 - y : y) * outRow;
        if (l.bitsPerPixel <= 8)
            indexedRow(l, row, target);
        else if (l.bitsPerPixel == 24)
            bgrRow(l, row, target);
        else
            maskedRow(l, row, target);
    }
}

}  // namespace bmp
