// The table header: two (audio: four) flag bits, the 19 four-bit lengths of the
// bit-length table, then the code lengths as bit-length symbols: 0..15 add to the
// previous length at the same place (modulo 16), 16 repeats the length just
// before 3..6 times, 17 puts 3..10 zeros and 18 puts 11..138 zeros.
#include "internal.h"

#include <cstring>

namespace rarpack::detail {
namespace {

constexpr int repeatSymbol = 16, shortZerosSymbol = 17, longZerosSymbol = 18;

struct LengthToken {
    std::uint8_t symbol;
    std::uint8_t extra;
    std::uint8_t extraBits;
};

int runLength(const std::uint8_t* lengths, int from, int places, std::uint8_t value, int cap)
{
    int run = 0;
    while (from + run < places && run < cap && lengths[from + run] == value) ++run;
    return run;
}

bool deltasAreZero(const std::uint8_t* lengths, const std::uint8_t* previous, int from, int run)
{
    return std::memcmp(lengths + from, previous + from, static_cast<std::size_t>(run)) == 0;
}

std::vector<LengthToken> tokenize(const std::uint8_t* lengths, const std::uint8_t* previous, int places)
{
    std::vector<LengthToken> tokens;
    for (int i = 0; i < places;) {
        const std::uint8_t length = lengths[i];
        const int zeros = length == 0 ? runLength(lengths, i, places, 0, 138) : 0;
        const int repeats = i > 0 ? runLength(lengths, i, places, lengths[i - 1], 6) : 0;
        if (zeros >= 11) {
            tokens.push_back({longZerosSymbol, static_cast<std::uint8_t>(zeros - 11), 7});
            i += zeros;
        } else if (zeros >= 3) {
            tokens.push_back({shortZerosSymbol, static_cast<std::uint8_t>(zeros - 3), 3});
            i += zeros;
        } else if (repeats >= 3 && !deltasAreZero(lengths, previous, i, repeats)) {
            // 16 never stands first: the length before the first place is undefined.
            tokens.push_back({repeatSymbol, static_cast<std::uint8_t>(repeats - 3), 2});
            i += repeats;
        } else {
            tokens.push_back({static_cast<std::uint8_t>((length - previous[i]) & 15), 0, 0});
            ++i;
        }
    }
    return tokens;
}

// Header bits for one choice of previous lengths; writes when out is set.
std::uint64_t encodeHeader(BitWriter* out, const TableShape& shape, const std::uint8_t* lengths,
                           const std::uint8_t* previous, bool keep)
{
    const std::vector<LengthToken> tokens = tokenize(lengths, previous, shape.places());
    std::uint32_t freq[rarformat::bitLengthCount] = {};
    for (const LengthToken& t : tokens) freq[t.symbol]++;
    std::uint8_t bitLengths[rarformat::bitLengthCount];
    std::uint16_t codes[rarformat::bitLengthCount];
    buildCodeLengths(freq, rarformat::bitLengthCount, bitLengths, maxCodeLength);
    buildCodes(bitLengths, rarformat::bitLengthCount, codes);

    std::uint64_t bits = 2 + (shape.audio ? 2 : 0) + 4 * rarformat::bitLengthCount;
    for (const LengthToken& t : tokens) bits += bitLengths[t.symbol] + t.extraBits;
    if (!out) return bits;
    putBits(*out, (shape.audio ? 2u : 0u) | (keep ? 1u : 0u), 2);
    if (shape.audio) putBits(*out, static_cast<std::uint32_t>(shape.channels - 1), 2);
    for (unsigned s = 0; s < rarformat::bitLengthCount; ++s) putBits(*out, bitLengths[s], 4);
    for (const LengthToken& t : tokens) {
        putBits(*out, codes[t.symbol], bitLengths[t.symbol]);
        if (t.extraBits) putBits(*out, t.extra, t.extraBits);
    }
    return bits;
}

}  // namespace

std::uint64_t writeTableHeader(BitWriter* out, const TableShape& shape, const std::uint8_t* lengths,
                               const std::uint8_t* previous, int previousKnown)
{
    static const std::uint8_t cleared[lengthPlaces] = {};
    const std::uint64_t clearBits = encodeHeader(nullptr, shape, lengths, cleared, false);
    if (previousKnown >= shape.places()) {
        const std::uint64_t keepBits = encodeHeader(nullptr, shape, lengths, previous, true);
        if (keepBits < clearBits) return encodeHeader(out, shape, lengths, previous, true);
    }
    return encodeHeader(out, shape, lengths, cleared, false);
}

}  // namespace rarpack::detail
