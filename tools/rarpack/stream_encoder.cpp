// Block and stream encoder. A file is cut into segments; for each segment the
// LZ parse and the audio predictor with 1 to 4 channels are tried, each either
// with the tables the decoder holds or with new ones, and the cheapest is sent.
//
// Format notes on a file's end, which must leave the decoder's tables alone for
// the next file of a solid stream:
//  - after its last byte the decoder decodes one more symbol when at least five
//    input bytes remain, and reads new tables if that symbol asks for them; so a
//    harmless symbol always follows the data, and cipher padding comes after it;
//  - the decoder peeks three bytes ahead, so two zero bytes close the stream;
//  - tables change only through the new-tables symbol inside a file, never
//    through that last look, so every table keeps the new-tables symbol coded.
#include "internal.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>

namespace rarpack::detail {
namespace {

constexpr std::size_t segmentSize = 65536;
constexpr int endPaddingBytes = 2;
constexpr std::uint64_t noCost = std::numeric_limits<std::uint64_t>::max();

struct Block {
    TableShape shape;
    bool newTables = true;
    std::vector<LzItem> items;          // LZ mode
    std::vector<std::uint8_t> symbols;  // audio mode, in output order
    int firstChannel = 0;
    std::size_t end = 0;  // history position after the block
    std::uint32_t freq[lengthPlaces] = {};
    std::uint8_t lengths[lengthPlaces] = {};
    std::uint64_t extraBits = 0;
    std::uint64_t cost = noCost;
    LzCoderState lz;
    AudioState audio;
};

// Keeps one symbol coded in a table and makes sure the table holds at least two
// codes, so that it is a complete prefix code.
void keepSymbol(std::uint32_t* freq, int count, int symbol)
{
    if (freq[symbol] == 0) freq[symbol] = 1;
    int used = 0;
    for (int s = 0; s < count; ++s) used += freq[s] ? 1 : 0;
    if (used < 2) freq[symbol == 0 ? 1 : 0] = 1;
}

void completeTable(std::uint32_t* freq, int count)
{
    int used = -1, usedCount = 0;
    for (int s = 0; s < count; ++s)
        if (freq[s]) {
            used = s;
            ++usedCount;
        }
    if (usedCount == 1) freq[used == 0 ? 1 : 0] = 1;
}

void countLz(Block& b)
{
    for (const LzItem& item : b.items) {
        b.freq[item.symbol]++;
        if (hasSubSymbol(item.symbol)) b.freq[subSymbolPlace(item.symbol) + item.sub]++;
        b.extraBits += item.bitsA + item.bitsB;
    }
    keepSymbol(b.freq, rarformat::literalCount, rarformat::newTablesSymbol);
    completeTable(b.freq + rarformat::distanceLengthsAt, rarformat::distanceCount);
    completeTable(b.freq + rarformat::repeatLengthsAt, rarformat::repeatLengthCount);
}

void countAudio(Block& b)
{
    const int channels = b.shape.channels;
    for (std::size_t i = 0; i < b.symbols.size(); ++i) {
        const int channel = static_cast<int>((b.firstChannel + i) % channels);
        b.freq[rarformat::audioSymbolCount * channel + b.symbols[i]]++;
    }
    for (int c = 0; c < channels; ++c)
        keepSymbol(b.freq + rarformat::audioSymbolCount * c, rarformat::audioSymbolCount,
                   rarformat::audioNewTablesSymbol);
}

void buildLengths(Block& b)
{
    if (b.shape.audio) {
        for (int c = 0; c < b.shape.channels; ++c)
            buildCodeLengths(b.freq + rarformat::audioSymbolCount * c, rarformat::audioSymbolCount,
                             b.lengths + rarformat::audioSymbolCount * c, maxCodeLength);
        return;
    }
    buildCodeLengths(b.freq, rarformat::literalCount, b.lengths, maxCodeLength);
    buildCodeLengths(b.freq + rarformat::distanceLengthsAt, rarformat::distanceCount,
                     b.lengths + rarformat::distanceLengthsAt, maxCodeLength);
    buildCodeLengths(b.freq + rarformat::repeatLengthsAt, rarformat::repeatLengthCount,
                     b.lengths + rarformat::repeatLengthsAt, maxCodeLength);
}

// Bits of the block's symbols under the given lengths; noCost if one is missing.
std::uint64_t dataBits(const Block& b, const std::uint8_t* lengths)
{
    std::uint64_t bits = b.extraBits;
    for (int i = 0; i < b.shape.places(); ++i) {
        if (b.freq[i] == 0) continue;
        if (lengths[i] == 0) return noCost;
        bits += static_cast<std::uint64_t>(b.freq[i]) * lengths[i];
    }
    return bits;
}

// Code of the symbol that asks the decoder for new tables, in its current table.
int switchBits(const StreamState& s)
{
    if (!s.started) return 0;
    if (s.shape.audio)
        return s.lengths[rarformat::audioSymbolCount * s.audio.current + rarformat::audioNewTablesSymbol];
    return s.lengths[rarformat::newTablesSymbol];
}

bool sameShape(const TableShape& a, const TableShape& b)
{
    return a.audio == b.audio && (!a.audio || a.channels == b.channels);
}

// Prices the block both with the decoder's current tables and with its own.
void priceBlock(const StreamState& s, Block& b)
{
    buildLengths(b);
    const std::uint64_t own = dataBits(b, b.lengths);
    b.cost = own + switchBits(s) + writeTableHeader(nullptr, b.shape, b.lengths, s.lengths, s.lengthsKnown);
    b.newTables = true;
    if (s.started && sameShape(s.shape, b.shape)) {
        const std::uint64_t kept = dataBits(b, s.lengths);
        if (kept != noCost && kept <= b.cost) {
            b.cost = kept;
            b.newTables = false;
        }
    }
}

// After an audio block the LZ trial only looks for the obvious matches: sample
// data makes long hash chains of short matches, and a full search there costs
// many times the rest of the work for nothing.
constexpr int chainAfterAudio = 16;

void tryLz(StreamState& s, std::size_t begin, std::size_t goal, Block& b)
{
    b.shape = TableShape{};
    b.lz = s.lz;
    const int fullChain = s.finder.maxChain;
    if (s.started && s.shape.audio) s.finder.maxChain = std::min(fullChain, chainAfterAudio);
    b.end = parseLz(s.finder, s.costs, b.lz, s.history.data(), begin, goal, s.history.size(), b.items);
    s.finder.maxChain = fullChain;
    countLz(b);
    priceBlock(s, b);
}

void tryAudio(const StreamState& s, std::size_t begin, std::size_t end, int channels, Block& b)
{
    b.shape = TableShape{true, channels};
    b.audio = s.audio;
    if (b.audio.current >= channels) b.audio.current = 0;
    b.firstChannel = b.audio.current;
    b.end = end;
    b.symbols.reserve(end - begin);
    for (std::size_t p = begin; p < end; ++p)
        b.symbols.push_back(static_cast<std::uint8_t>(audioSymbol(b.audio, channels, s.history[p])));
    countAudio(b);
    priceBlock(s, b);
}

void putSymbol(BitWriter& out, const std::uint8_t* lengths, const std::uint16_t* codes, int place)
{
    putBits(out, codes[place], lengths[place]);
}

void allCodes(const StreamState& s, std::uint16_t* codes)
{
    if (s.shape.audio) {
        for (int c = 0; c < s.shape.channels; ++c)
            buildCodes(s.lengths + rarformat::audioSymbolCount * c, rarformat::audioSymbolCount,
                       codes + rarformat::audioSymbolCount * c);
        return;
    }
    buildCodes(s.lengths, rarformat::literalCount, codes);
    buildCodes(s.lengths + rarformat::distanceLengthsAt, rarformat::distanceCount,
               codes + rarformat::distanceLengthsAt);
    buildCodes(s.lengths + rarformat::repeatLengthsAt, rarformat::repeatLengthCount,
               codes + rarformat::repeatLengthsAt);
}

void sendTables(StreamState& s, const Block& b, BitWriter& out, StreamStats& stats)
{
    if (s.started) {
        std::uint16_t codes[lengthPlaces];
        allCodes(s, codes);
        const int place =
            s.shape.audio ? rarformat::audioSymbolCount * s.audio.current + rarformat::audioNewTablesSymbol
                          : rarformat::newTablesSymbol;
        putSymbol(out, s.lengths, codes, place);
    }
    writeTableHeader(&out, b.shape, b.lengths, s.lengths, s.lengthsKnown);
    std::memcpy(s.lengths, b.lengths, lengthPlaces);
    s.lengthsKnown = b.shape.places();
    s.shape = b.shape;
    s.started = true;
    stats.tableCount++;
}

void sendLzItems(const StreamState& s, const Block& b, BitWriter& out)
{
    std::uint16_t codes[lengthPlaces];
    allCodes(s, codes);
    for (const LzItem& item : b.items) {
        putSymbol(out, s.lengths, codes, item.symbol);
        if (item.bitsA) putBits(out, item.extraA, item.bitsA);
        if (hasSubSymbol(item.symbol))
            putSymbol(out, s.lengths, codes, subSymbolPlace(item.symbol) + item.sub);
        if (item.bitsB) putBits(out, item.extraB, item.bitsB);
    }
}

void sendAudioSymbols(const StreamState& s, const Block& b, BitWriter& out)
{
    std::uint16_t codes[lengthPlaces];
    allCodes(s, codes);
    const int channels = b.shape.channels;
    for (std::size_t i = 0; i < b.symbols.size(); ++i) {
        const int channel = static_cast<int>((b.firstChannel + i) % channels);
        putSymbol(out, s.lengths, codes, rarformat::audioSymbolCount * channel + b.symbols[i]);
    }
}

void sendBlock(StreamState& s, const Block& b, BitWriter& out, StreamStats& stats)
{
    if (b.newTables) sendTables(s, b, out, stats);
    if (b.shape.audio) {
        sendAudioSymbols(s, b, out);
        s.audio = b.audio;
        stats.audioBytes += b.symbols.size();
        stats.audioChannels = b.shape.channels;
    } else {
        sendLzItems(s, b, out);
        s.lz = b.lz;
        updateCosts(s.costs, s.lengths);
    }
}

// The shortest code in the current table that isn't the new-tables symbol: what
// the decoder's look past the end of the file will find.
void sendStreamEnd(const StreamState& s, BitWriter& out)
{
    const int base = s.shape.audio ? rarformat::audioSymbolCount * s.audio.current : 0;
    const int count = s.shape.audio ? rarformat::audioSymbolCount : rarformat::literalCount;
    const int reserved = s.shape.audio ? rarformat::audioNewTablesSymbol : rarformat::newTablesSymbol;
    int best = -1;
    for (int sym = 0; sym < count; ++sym)
        if (sym != reserved && s.lengths[base + sym] &&
            (best < 0 || s.lengths[base + sym] < s.lengths[base + best]))
            best = sym;
    std::uint16_t codes[lengthPlaces];
    allCodes(s, codes);
    if (best >= 0) putSymbol(out, s.lengths, codes, base + best);
    flushBits(out);
    for (int i = 0; i < endPaddingBytes; ++i) out.bytes.push_back(0);
}

// Matches reach back one window at most, so older history is dropped, in whole
// windows so that the chain slots (position & window mask) stay where they are.
// This keeps a solid stream's copy for the stored-or-compressed trial small.
void trimHistory(StreamState& s)
{
    if (s.history.size() < 2 * std::size_t{rarformat::windowSize}) return;
    const std::size_t drop =
        (s.history.size() - rarformat::windowSize) & ~std::size_t{rarformat::windowSize - 1};
    s.history.erase(s.history.begin(), s.history.begin() + static_cast<std::ptrdiff_t>(drop));
    for (std::uint32_t* table : {s.finder.head.data(), s.finder.chain.data()}) {
        const std::size_t count =
            table == s.finder.head.data() ? s.finder.head.size() : s.finder.chain.size();
        for (std::size_t i = 0; i < count; ++i)
            table[i] = table[i] > drop ? static_cast<std::uint32_t>(table[i] - drop) : 0;
    }
}

}  // namespace

void startStream(StreamState& stream, int effort)
{
    stream = StreamState{};
    stream.effort = effort;
    setUpMatchFinder(stream.finder, effort);
    setDefaultCosts(stream.costs);
}

void encodeFile(StreamState& s, const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& packed,
                StreamStats& stats, const std::function<void(std::size_t)>* progress)
{
    trimHistory(s);
    const std::size_t begin = s.history.size();
    s.history.insert(s.history.end(), data, data + size);
    const std::size_t end = s.history.size();
    BitWriter out;
    for (std::size_t pos = begin; pos < end;) {
        auto best = std::make_unique<Block>();
        tryLz(s, pos, std::min(end, pos + segmentSize), *best);
        for (int channels = 1; s.effort > 1 && channels <= int(rarformat::maxAudioChannels); ++channels) {
            auto audio = std::make_unique<Block>();
            tryAudio(s, pos, best->end, channels, *audio);
            if (audio->cost < best->cost) best = std::move(audio);
        }
        sendBlock(s, *best, out, stats);
        pos = best->end;
        if (progress && *progress) (*progress)(pos - begin);
    }
    sendStreamEnd(s, out);
    packed = std::move(out.bytes);
}

}  // namespace rarpack::detail
