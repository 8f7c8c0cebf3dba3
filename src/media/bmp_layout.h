// Inside the BMP loader: the normalised description of a source picture that the
// header parser builds and the pixel converters read. Not for use outside media/.
#pragma once

#include <cstddef>
#include <cstdint>

namespace bmp {

// Compression values of the info header.
enum Compression : std::uint32_t { rgb = 0, rle8 = 1, rle4 = 2, bitFields = 3 };

struct Layout {
    // The info-header fields (a core header's converted to this form).
    std::int32_t width = 0;
    std::int32_t height = 0;  // negative: rows stored top-down
    std::uint16_t planes = 0;
    std::uint16_t bitsPerPixel = 0;
    std::uint32_t compression = rgb;
    std::uint32_t imageSize = 0;
    std::uint32_t coloursUsed = 0;
    // Colour table: `colourCount` entries of `entrySize` bytes (blue, green, red
    // [, unused]); null when there is none. Lies wholly inside the file.
    const std::uint8_t* colourTable = nullptr;
    std::uint32_t colourCount = 0;
    std::uint32_t entrySize = 4;
    // Channel masks of 16- and 32-bit pixels (the defaults when the file has none).
    std::uint32_t masks[3] = {0, 0, 0};
    // Pixel data, from its start to the end of the file.
    const std::uint8_t* bits = nullptr;
    std::size_t bitsSize = 0;
};

// Output: rows() rows of width x 3 bytes, bottom row first, red-green-blue,
// zeroed before conversion.
inline std::size_t rowCount(const Layout& l)
{
    return l.height < 0 ? std::size_t(-std::int64_t(l.height)) : std::size_t(l.height);
}

// Bytes of one stored row of uncompressed data: padded to a multiple of 4.
inline std::size_t storedRowBytes(const Layout& l)
{
    return (std::size_t(l.bitsPerPixel) * std::size_t(l.width) + 31) / 32 * 4;
}

// Uncompressed and bit-field data; the caller has checked that every row is there.
void convertRows(const Layout& layout, std::uint8_t* out);
// RLE8 and RLE4 data; false when the stream ends before the picture does.
bool decodeRle(const Layout& layout, std::uint8_t* out);

// The colour of palette index `index`; black beyond the table.
inline void paletteColour(const Layout& l, std::uint32_t index, std::uint8_t* rgb)
{
    if (index >= l.colourCount) {
        rgb[0] = rgb[1] = rgb[2] = 0;
        return;
    }
    const std::uint8_t* entry = l.colourTable + std::size_t(index) * l.entrySize;
    rgb[0] = entry[2];
    rgb[1] = entry[1];
    rgb[2] = entry[0];
}

}  // namespace bmp
