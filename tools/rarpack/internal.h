// Internal stages of the packer. No guarantee: only rarpack's own files use this.
//
// Glossary, in the decoder's terms:
//   literal/length table  298 symbols: 0..255 literals, 256 last match again,
//                         257..260 match at the 1st..4th previous distance,
//                         261..268 two-byte match at a short distance,
//                         269 new tables, 270..297 match with a length slot
//   distance table        48 distance slots of the 270..297 matches
//   repeat-length table   28 length slots of the 257..260 matches
//   audio table           257 symbols per channel: 256 prediction errors, 256 new tables
//   code lengths          1028 places: LZ tables at 0..373, audio channel k at 257k..
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "archive/rar_format.h"

namespace rarpack::detail {

constexpr std::uint32_t maxDistance = rarformat::windowSize - 1;
constexpr int lengthPlaces = int(rarformat::audioSymbolCount * rarformat::maxAudioChannels);  // 1028
constexpr int maxCodeLength = 15;
constexpr std::uint32_t maxMatch = 257;

// ---- bit writer (most significant bit first, like the decoder's peek) ----
struct BitWriter {
    std::vector<std::uint8_t> bytes;
    std::uint32_t pending = 0;  // bits not yet a whole byte, right-aligned
    int pendingCount = 0;
};
void putBits(BitWriter& out, std::uint32_t value, int count);
void flushBits(BitWriter& out);  // pads the last byte with zero bits

// ---- Huffman code lengths and canonical codes ----
// Lengths of at most maxLength bits for `count` symbols; unused symbols get 0.
void buildCodeLengths(const std::uint32_t* freq, int count, std::uint8_t* lengths, int maxLength);
// Canonical codes the way the decoder assigns them: by length, then by symbol.
void buildCodes(const std::uint8_t* lengths, int count, std::uint16_t* codes);

// ---- the table header: code lengths sent against the previous ones ----
struct TableShape {
    bool audio = false;
    int channels = 1;
    int places() const { return audio ? rarformat::audioSymbolCount * channels : rarformat::lzLengthCount; }
};
// Writes (out != nullptr) or only counts the header that makes the decoder hold
// `lengths`. `previous` is what the decoder holds now, valid in its first
// `previousKnown` places; the cheaper of "keep and send deltas" and "clear" is used.
std::uint64_t writeTableHeader(BitWriter* out, const TableShape& shape, const std::uint8_t* lengths,
                               const std::uint8_t* previous, int previousKnown);

// ---- LZ symbols ----
struct LzItem {
    std::uint16_t symbol;  // literal/length table
    std::uint8_t sub;      // distance slot (270..297) or repeat-length slot (257..260)
    std::uint8_t bitsA;    // extra bits right after the symbol
    std::uint8_t bitsB;    // extra bits after the sub symbol
    std::uint32_t extraA;
    std::uint32_t extraB;
};
inline bool hasSubSymbol(unsigned symbol)
{
    return (symbol >= rarformat::firstRepeatSymbol && symbol < rarformat::firstShortSymbol) ||
           symbol >= rarformat::firstLengthSymbol;
}
inline unsigned subSymbolPlace(unsigned symbol)
{
    return symbol >= rarformat::firstLengthSymbol ? rarformat::distanceLengthsAt : rarformat::repeatLengthsAt;
}

// Match history as the decoder keeps it.
struct LzCoderState {
    std::uint32_t previousDistance[4] = {0, 0, 0, 0};
    std::uint32_t distanceCount = 0;
    std::uint32_t lastDistance = 0;
    std::uint32_t lastLength = 0;
};
// Appends the cheapest encoding of a match, updating the state as the decoder will.
void codeMatch(LzCoderState& state, std::uint32_t length, std::uint32_t distance, std::vector<LzItem>& items);
bool matchIsCodable(const LzCoderState& state, std::uint32_t length, std::uint32_t distance);

// Bits per symbol as the tables in force code them: what the parse weighs its
// choices by.
struct CostModel {
    std::uint8_t bits[rarformat::lzLengthCount];
};
void setDefaultCosts(CostModel& model);
void updateCosts(CostModel& model, const std::uint8_t* lengths);
// Bits of a match under the model, coded the way codeMatch would code it.
int matchBits(const CostModel& model, const LzCoderState& state, std::uint32_t length,
              std::uint32_t distance);
// Prices for one parse: the model, and running sums of what the bytes from
// `base` on would cost as literals.
struct Pricing {
    const CostModel* model = nullptr;
    std::size_t base = 0;
    std::vector<std::uint32_t> literalSums;  // literalSums[i]: bits of bytes base .. base+i-1
    void cover(const std::uint8_t* history, std::size_t begin, std::size_t end);
    // What a match saves against literals, in bits (0 for no match).
    int saved(const LzCoderState& state, std::size_t pos, std::uint32_t length, std::uint32_t distance) const
    {
        if (length == 0) return 0;
        const int literalBits = static_cast<int>(literalSums[pos - base + length] - literalSums[pos - base]);
        return literalBits - matchBits(*model, state, length, distance);
    }
};

// ---- match finder: hash chains over the stream's history ----
struct MatchFinder {
    std::vector<std::uint32_t> head;   // newest position + 1 per hash, 0 = none
    std::vector<std::uint32_t> chain;  // older position + 1, by position & (window - 1)
    int maxChain = 32;
    int niceLength = 64;
    bool lazy = true;
};
struct Match {
    std::uint32_t length = 0;
    std::uint32_t distance = 0;
};
void setUpMatchFinder(MatchFinder& finder, int effort);
void insertPosition(MatchFinder& finder, const std::uint8_t* history, std::size_t pos, std::size_t end);
Match longestMatch(const MatchFinder& finder, const Pricing& pricing, const LzCoderState& state,
                   const std::uint8_t* history, std::size_t pos, std::size_t end);

// Parses history[begin, ...) into items until at least `goal` (returned end may be
// past it by part of a match; never past `limit`).
std::size_t parseLz(MatchFinder& finder, const CostModel& model, LzCoderState& state,
                    const std::uint8_t* history, std::size_t begin, std::size_t goal, std::size_t limit,
                    std::vector<LzItem>& items);

// ---- audio mode: the decoder's predictor, run forwards ----
struct AudioChannel {
    int weight[5] = {0, 0, 0, 0, 0};
    int delta[4] = {0, 0, 0, 0};
    int prevDelta = 0;
    std::uint32_t errorSum[11] = {};
    std::uint32_t sampleCount = 0;
    int prevSample = 0;
};
struct AudioState {
    AudioChannel channel[rarformat::maxAudioChannels];
    int sharedDelta = 0;
    int current = 0;
};
// The symbol that makes the decoder output `target`; advances the channel.
int audioSymbol(AudioState& state, int channels, std::uint8_t target);
// The decoder's own step for a symbol; returns the byte it outputs.
std::uint8_t predictAudioByte(AudioChannel& channel, int& sharedDelta, int delta);

// ---- the compressed stream of one file, or of a solid run of files ----
struct StreamState {
    std::vector<std::uint8_t> history;  // every byte the decoder produced in this stream
    MatchFinder finder;
    CostModel costs;
    LzCoderState lz;
    AudioState audio;
    bool started = false;  // the decoder has read tables
    TableShape shape;      // of the tables the decoder holds
    std::uint8_t lengths[lengthPlaces] = {};
    int lengthsKnown = lengthPlaces;
    int effort = 6;
};
struct StreamStats {
    std::uint64_t audioBytes = 0;
    int audioChannels = 0;
    int tableCount = 0;
};
void startStream(StreamState& stream, int effort);
// Compresses one file's bytes as the continuation of `stream` into `packed`,
// including the safe end (see stream_end in stream_encoder.cpp).
void encodeFile(StreamState& stream, const std::uint8_t* data, std::size_t size,
                std::vector<std::uint8_t>& packed, StreamStats& stats,
                const std::function<void(std::size_t)>* progress);

// ---- CRC-32 and the cipher, shared with the reader ----
std::uint32_t crc32Of(const std::uint8_t* bytes, std::size_t count, std::uint32_t crc = 0xFFFFFFFFu);
// Enciphers whole 16-byte blocks in place with keys set up from `password`.
void encipherData(const std::string& password, std::uint8_t* bytes, std::size_t count);

}  // namespace rarpack::detail
