// Run-length encoded bitmaps (RLE8, RLE4) to RGB.
//
// Format notes: the stream is pairs of bytes. (n > 0, v): n pixels of index v; for
// RLE4, v holds two indices, high nibble first, used alternately. (0, 0): end of
// line; (0, 1): end of bitmap; (0, 2, dx, dy): move right dx and up dy; (0, n >= 3):
// n literal indices (bytes, or nibbles high first for RLE4), padded to an even
// number of bytes. Rows run bottom-up. Pixels the stream never reaches stay black;
// pixels beyond the right edge or the top row are dropped.
#include "media/bmp_layout.h"

namespace bmp {
namespace {

struct RleState {
    const Layout& layout;
    std::uint8_t* out;
    std::size_t pos = 0;  // next byte of the stream
    std::int64_t x = 0;
    std::int64_t y = 0;  // output row, bottom row 0
};

bool has(const RleState& s, std::size_t n) { return s.layout.bitsSize - s.pos >= n; }
std::uint8_t next(RleState& s) { return s.layout.bits[s.pos++]; }
bool finished(const RleState& s) { return s.y >= std::int64_t(rowCount(s.layout)); }

void put(RleState& s, std::uint32_t index)
{
    if (s.x < s.layout.width && !finished(s)) {
        const std::size_t at = (std::size_t(s.y) * std::size_t(s.layout.width) + std::size_t(s.x)) * 3;
        paletteColour(s.layout, index, s.out + at);
    }
    ++s.x;
}

bool isRle4(const RleState& s) { return s.layout.compression == rle4; }

void run(RleState& s, std::uint32_t count, std::uint8_t value)
{
    for (std::uint32_t i = 0; i < count; ++i)
        put(s, isRle4(s) ? (i % 2 == 0 ? value >> 4 : value & 15) : value);
}

// Literal run of `count` indices; false when the stream ends inside it.
bool literal(RleState& s, std::uint32_t count)
{
    const std::size_t bytes = isRle4(s) ? (count + 1) / 2 : count;
    const std::size_t padded = bytes + (bytes & 1);
    if (!has(s, bytes)) return false;
    const std::uint8_t* data = s.layout.bits + s.pos;
    for (std::uint32_t i = 0; i < count; ++i)
        put(s, isRle4(s) ? (i % 2 == 0 ? data[i / 2] >> 4 : data[i / 2] & 15) : data[i]);
    s.pos += has(s, padded) ? padded : bytes;  // a missing last pad byte is forgiven
    return true;
}

// One escape (a pair starting with 0). Returns false on a truncated stream;
// sets `done` at the end of the bitmap.
bool escape(RleState& s, std::uint8_t code, bool& done)
{
    switch (code) {
    case 0:
        s.x = 0;
        ++s.y;
        return true;
    case 1:
        done = true;
        return true;
    case 2:
        if (!has(s, 2)) return false;
        s.x += next(s);
        s.y += next(s);
        return true;
    default:
        return literal(s, code);
    }
}

}  // namespace

bool decodeRle(const Layout& layout, std::uint8_t* out)
{
    RleState s{layout, out};
    bool done = false;
    while (!done && !finished(s)) {
        if (!has(s, 2)) return false;  // ran out before the picture was complete
        const std::uint8_t count = next(s);
        const std::uint8_t value = next(s);
        if (count > 0)
            run(s, count, value);
        else if (!escape(s, value, done))
            return false;
    }
    return true;
}

}  // namespace bmp
