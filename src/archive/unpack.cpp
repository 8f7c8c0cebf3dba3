// The RAR 2.0 decompressor: LZ77 over a 1 MiB window with canonical Huffman codes
// sent delta-coded, and the multimedia (audio) mode that codes the errors of an
// adaptive linear predictor over up to four interleaved channels.
//
// Format notes:
// - Bits are read most significant first. The decoder holds them in a 64-bit
//   register refilled a word at a time from a buffer of packed bytes (readPacked,
//   which deciphers); one step of the main loop needs at most 51 bits, so one
//   refill before each step is enough.
// - Codes are canonical: a code's length is the first whose left-aligned limit lies
//   above the next 16 bits. A table of every 10-bit prefix answers that walk at
//   once for all codes of up to 10 bits; longer ones walk on from length 11.
// - A table read (readCodeLengths) starts with two flags: audio mode, and "keep the
//   previous lengths" (lengths are sent as differences modulo 16 to the last ones).
// - Literal/length symbols: 0..255 literal, 256 repeat the last match, 257..260 a
//   match at one of the four last distances, 261..268 a short match of length 2,
//   269 new tables, 270..297 a match with a coded distance.
// - Nothing here can fail: bad data decodes to bad bytes, every table index and
//   window position stays in bounds, and the caller's CRC check judges the result.
//   A file whose packed bytes run out before its size is produced ends there.
#include "archive/reader_internal.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace rarreader {
namespace {

// The few helpers of the inner loop are always inlined: called from several places,
// they would otherwise stay calls, and the loop's locals would have to live in memory.
#define HOT [[gnu::always_inline]] inline

constexpr unsigned stepBits = 57;           // a refill leaves at least this many bits
constexpr std::uint32_t flushMargin = 270;  // free bytes a step may need ahead of writePos

// ---------------------------------------------------------------- bit input

HOT std::uint64_t loadBigEndian(const std::uint8_t* p)
{
    std::uint64_t w;
    std::memcpy(&w, p, 8);
    return __builtin_bswap64(w);
}

// Tops the register up from 8 buffered bytes: whole bytes only, so `count` ends at 56..63.
HOT void loadWord(BitRegister& r, const std::uint8_t* buffer)
{
    r.word |= loadBigEndian(buffer + r.pos) >> r.count;
    r.pos += (63 - r.count) >> 3;
    r.count |= 56;
}

// The unread rest moves to the front and one large read follows it.
void readMore(BitRegister& r, BitInput& in)
{
    const std::uint32_t rest = in.fill - r.pos;
    std::memmove(in.buffer, in.buffer + r.pos, rest);
    r.pos = 0;
    const long got = readPacked(in.buffer + rest, inBufferSize);
    in.fill = rest + (got > 0 ? std::uint32_t(got) : 0);
    if (got <= 0) in.ended = true;
}

// The buffer's end: read more, or feed the last bytes one at a time and then zeros.
void refillSlow(BitRegister& r, BitInput& in)
{
    if (in.fill - r.pos < 8 && !in.ended) readMore(r, in);
    if (in.fill - r.pos >= 8) {
        loadWord(r, in.buffer);
        return;
    }
    for (; r.count <= 56 && r.pos < in.fill; r.count += 8)
        r.word |= std::uint64_t(in.buffer[r.pos++]) << (56 - r.count);
    if (r.count <= 56) {
        in.zeroBits += 64 - r.count;
        r.count = 64;
    }
}

// The slow path works on a copy, so that the caller's register never has its
// address taken and can stay in registers.
HOT void refill(BitRegister& r, BitInput& in)
{
    if (r.count >= stepBits) return;
    if (r.pos + 8 <= in.fill) {
        loadWord(r, in.buffer);
        return;
    }
    BitRegister copy = r;
    refillSlow(copy, in);
    r = copy;
}

HOT void skipBits(BitRegister& r, unsigned n)
{
    r.word <<= n;
    r.count -= n;
}

// n bits (0 to 16) as a number.
HOT std::uint32_t getBits(BitRegister& r, unsigned n)
{
    const std::uint32_t value = std::uint32_t((r.word >> (63 - n)) >> 1);
    skipBits(r, n);
    return value;
}

// Bits used so far, counted from the buffer's first byte (zeros past the end
// included). Below 0 when the next bit lies in bytes that already left the buffer.
HOT std::int64_t bitsUsed(const BitRegister& r, const BitInput& in)
{
    return std::int64_t(r.pos) * 8 + std::int64_t(in.zeroBits) - r.count;
}

// True once bits beyond the file's packed data have been taken: anything decoded
// from here on would be made up.
HOT bool ranDry(const BitRegister& r, const BitInput& in)
{
    return in.ended && bitsUsed(r, in) > std::int64_t(in.fill) * 8;
}

// Whether n more whole bytes of packed data follow from the byte the next bit is in.
bool bytesAhead(BitInput& in, std::int64_t n)
{
    BitRegister& r = in.reg;
    while (!in.ended && in.fill - (bitsUsed(r, in) >> 3) < n + 8) readMore(r, in);
    return (bitsUsed(r, in) >> 3) + n <= in.fill;
}

// A file's bits start empty, with the first read of its packed bytes.
void startBits(BitInput& in)
{
    in.reg = BitRegister{};
    in.fill = 0;
    in.zeroBits = 0;
    in.ended = false;
    refillSlow(in.reg, in);
}

// ---------------------------------------------------------------- Huffman codes

// limit[len] as a bound on 16-bit values: a capped limit lies above all of them.
std::uint32_t limitBound(const DecodeTable& t, unsigned len)
{
    return t.limit[len] == 0xFFFF ? 0x10000 : t.limit[len];
}

// The symbol at a code's place; an index that garbage pushes past the table is 0.
HOT std::uint16_t symbolAt(const DecodeTable& t, unsigned len, std::uint32_t value)
{
    std::uint32_t index = t.firstIndex[len] + ((value - t.limit[len - 1]) >> (16 - len));
    if (index >= t.symbolCount) index = 0;
    return t.symbols[index];
}

// Every prefix whose code has at most quickBits bits gets its symbol and length.
// Limits up to that length are multiples of 2^(16 - quickBits), so the prefix alone
// decides the walk; a code of length len owns a run of 2^(quickBits - len) prefixes.
void fillQuickTable(DecodeTable& t)
{
    constexpr unsigned shift = 16 - quickBits;
    std::uint32_t prefix = 0;
    for (unsigned len = 1; len <= quickBits; ++len) {
        const std::uint32_t end = limitBound(t, len) >> shift, run = 1u << (quickBits - len);
        for (std::uint32_t p = prefix; p < end; p += run)
            std::fill(t.quick + p, t.quick + std::min(p + run, end),
                      std::uint16_t(symbolAt(t, len, p << shift) | len << 12));
        prefix = std::max(prefix, end);
    }
    std::fill(t.quick + prefix, std::end(t.quick), 0);
}

// Canonical code from lengths (0 = absent): limit[L] is the first left-aligned
// 16-bit value beyond the codes of length L; symbols sorted by length, then value.
void buildHuffmanTable(const std::uint8_t* lengths, DecodeTable& t, unsigned count)
{
    unsigned lengthCount[16] = {};
    for (unsigned i = 0; i < count; ++i) ++lengthCount[lengths[i] & 15];
    lengthCount[0] = 0;
    std::uint32_t n = 0;
    t.limit[0] = 0;
    t.firstIndex[0] = 0;
    for (unsigned len = 1; len < 16; ++len) {
        n = 2 * (n + lengthCount[len]);
        t.limit[len] = std::min<std::uint32_t>(n << (15 - len), 0xFFFF);
        t.firstIndex[len] = t.firstIndex[len - 1] + lengthCount[len - 1];
    }
    unsigned next[16];
    std::copy(std::begin(t.firstIndex), std::end(t.firstIndex), next);
    std::fill(std::begin(t.symbols), std::end(t.symbols), 0);
    for (unsigned i = 0; i < count; ++i)
        if (const unsigned len = lengths[i] & 15) t.symbols[next[len]++] = std::uint16_t(i);
    t.symbolCount = count;
    fillQuickTable(t);
}

// A code longer than quickBits: the walk over the limits goes on from there.
// Returns the symbol and the code length packed as a quick table entry.
unsigned longCodeEntry(std::uint64_t word, const DecodeTable& t)
{
    const std::uint32_t value = std::uint32_t(word >> 48) & 0xFFFE;
    unsigned len = quickBits + 1;
    while (len < 15 && value >= t.limit[len]) ++len;
    return symbolAt(t, len, value) | len << 12;
}

HOT unsigned decodeSymbol(BitRegister& r, const DecodeTable& t)
{
    unsigned entry = t.quick[r.word >> (64 - quickBits)];
    if (entry < 1u << 12) entry = longCodeEntry(r.word, t);
    skipBits(r, entry >> 12);
    return entry & 0xFFF;
}

// ---------------------------------------------------------------- table reads

// The lengths of one table read: 0..15 add to the previous length at the place,
// 16 repeats the length before (0 at the first place), 17 and 18 put zero runs.
void readLengths(UnpackState& s, std::uint8_t* lengths, unsigned total)
{
    BitRegister& r = s.in.reg;
    for (unsigned i = 0; i < total;) {
        refill(r, s.in);
        const unsigned symbol = decodeSymbol(r, s.bitLengthTable);
        unsigned run = 0;
        std::uint8_t value = 0;
        if (symbol < 16) {
            lengths[i] = (s.previousLengths[i] + symbol) & 15;
            ++i;
            continue;
        }
        if (symbol == 16) {
            run = getBits(r, 2) + 3;
            value = i > 0 ? lengths[i - 1] : 0;
        } else {
            run = symbol == 17 ? getBits(r, 3) + 3 : getBits(r, 7) + 11;
        }
        for (; run > 0 && i < total; --run) lengths[i++] = value;
    }
}

// New tables: audio tables per channel, or literal/length, distance and repeat-length
// tables. Places a read does not reach count as length 0 for the next delta.
void readCodeLengths(UnpackState& s)
{
    BitRegister& r = s.in.reg;
    refill(r, s.in);
    const std::uint32_t head = std::uint32_t(r.word >> 48);
    s.audioMode = (head & 0x8000) != 0;
    if (!(head & 0x4000)) std::memset(s.previousLengths, 0, sizeof s.previousLengths);
    skipBits(r, 2);
    unsigned total = rarformat::lzLengthCount;
    if (s.audioMode) {
        s.channelCount = int((head >> 12) & 3) + 1;
        if (s.currentChannel >= s.channelCount) s.currentChannel = 0;
        skipBits(r, 2);
        total = rarformat::audioSymbolCount * unsigned(s.channelCount);
    }
    std::uint8_t bitLengths[rarformat::bitLengthCount];
    for (auto& length : bitLengths) {
        refill(r, s.in);
        length = std::uint8_t(getBits(r, 4));
    }
    buildHuffmanTable(bitLengths, s.bitLengthTable, rarformat::bitLengthCount);
    std::uint8_t lengths[sizeof s.previousLengths] = {};
    readLengths(s, lengths, total);
    if (s.audioMode) {
        for (int c = 0; c < s.channelCount; ++c)
            buildHuffmanTable(lengths + rarformat::audioSymbolCount * c, s.audioTables[c],
                              rarformat::audioSymbolCount);
    } else {
        buildHuffmanTable(lengths, s.literalTable, rarformat::literalCount);
        buildHuffmanTable(lengths + rarformat::distanceLengthsAt, s.distanceTable, rarformat::distanceCount);
        buildHuffmanTable(lengths + rarformat::repeatLengthsAt, s.repeatTable, rarformat::repeatLengthCount);
    }
    std::memcpy(s.previousLengths, lengths, sizeof lengths);
}

// ---------------------------------------------------------------- audio

// Winner of the eleven error sums (lowest index on ties) nudges one weight by one
// step; the weights stay within -17..16.
void adaptWeights(AudioChannelState& ch)
{
    unsigned best = 0;
    for (unsigned i = 1; i < 11; ++i)
        if (ch.errorSum[i] < ch.errorSum[best]) best = i;
    std::fill(std::begin(ch.errorSum), std::end(ch.errorSum), 0);
    if (best == 0) return;
    int* weights[5] = {&ch.weight1, &ch.weight2, &ch.weight3, &ch.weight4, &ch.weight5};
    int& w = *weights[(best - 1) / 2];
    if (best % 2 == 1) {
        if (w >= -16) --w;
    } else if (w < 16) {
        ++w;
    }
}

// Without a branch: the predictor runs it eleven times a byte.
std::uint32_t absDiff(int a, int b) { return std::uint32_t(std::abs(a - b)); }

// The channel's predicted byte minus the coded error is the output; the error
// sums track how each weight would have fared.
std::uint8_t predictAudioByte(AudioChannelState& ch, int& sharedDelta, unsigned delta)
{
    ++ch.sampleCount;
    ch.delta4 = ch.delta3;
    ch.delta3 = ch.delta2;
    ch.delta2 = ch.prevDelta - ch.delta1;
    ch.delta1 = ch.prevDelta;
    const int prediction = ((8 * ch.prevSample + ch.weight1 * ch.delta1 + ch.weight2 * ch.delta2 +
                             ch.weight3 * ch.delta3 + ch.weight4 * ch.delta4 + ch.weight5 * sharedDelta) >>
                            3) &
                           0xFF;
    const int sample = prediction - int(delta);
    const int d = int(std::int8_t(delta)) * 8;
    const int past[5] = {ch.delta1, ch.delta2, ch.delta3, ch.delta4, sharedDelta};
    ch.errorSum[0] += absDiff(d, 0);
    for (int k = 0; k < 5; ++k) {
        ch.errorSum[1 + 2 * k] += absDiff(d, past[k]);
        ch.errorSum[2 + 2 * k] += absDiff(d, -past[k]);
    }
    ch.prevDelta = sharedDelta = std::int8_t(sample - ch.prevSample);
    ch.prevSample = sample;
    if (ch.sampleCount % 32 == 0) adaptWeights(ch);
    return std::uint8_t(sample);
}

// ---------------------------------------------------------------- window

// Hands the bytes from flushedPos to writePos on to the output buffer (two copies
// when they wrap). Output beyond the file's unpacked size is dropped and ends decoding.
void flushWindow(UnpackState& s)
{
    const ArchiveState& a = reader.archive;
    const std::uint32_t first = s.flushedPos & windowMask;
    const std::uint32_t count = (s.writePos - s.flushedPos) & windowMask;
    if (std::uint64_t(*a.sizeVar) + count > a.outputSize) {
        RAR_LOG("Fatal! Buffer overrun during decompression!");
        s.bytesLeft = -1;
    } else {
        const std::uint32_t head = std::min(count, windowSize - first);
        if (!appendOutput(s.window + first, head) || !appendOutput(s.window, count - head)) s.bytesLeft = -1;
    }
    s.flushedPos = s.writePos;
}

// Hands bytes on, or for a file nobody asked for just passes them over.
void handOn(UnpackState& s)
{
    if (reader.archive.fileFound)
        flushWindow(s);
    else
        s.flushedPos = s.writePos;
}

// Free bytes ahead of writePos before unflushed ones (all of the window when none wait).
HOT std::uint32_t roomAhead(std::uint32_t flushedPos, std::uint32_t writePos)
{
    return ((flushedPos - writePos - 1) & windowMask) + 1;
}

// Whether a step may start at writePos: it writes at most flushMargin bytes.
HOT bool roomForStep(std::uint32_t writePos, std::uint32_t flushedPos)
{
    return roomAhead(flushedPos, writePos) >= flushMargin;
}

// A match shorter than 8 bytes whose source lies at least 8 bytes behind: two
// overlapping copies of 4 or 2 bytes cover it.
HOT void copyShort(std::uint8_t* to, const std::uint8_t* src, std::uint32_t length)
{
    if (length >= 4) {
        std::memcpy(to, src, 4);
        std::memcpy(to + length - 4, src + length - 4, 4);
    } else if (length >= 2) {
        std::memcpy(to, src, 2);
        std::memcpy(to + length - 2, src + length - 2, 2);
    } else if (length == 1) {
        *to = *src;
    }
}

// Source at least 8 bytes behind: 8 bytes at a time, the last 8 again from their
// own place, so nothing beyond the match is touched.
HOT void copyFar(std::uint8_t* to, const std::uint8_t* src, std::uint32_t length)
{
    if (length < 8) {
        copyShort(to, src, length);
        return;
    }
    for (std::uint32_t i = 0; i + 8 <= length; i += 8) std::memcpy(to + i, src + i, 8);
    std::memcpy(to + length - 8, src + length - 8, 8);
}

// Window: a match whose source or destination runs over the window's end, or whose
// source lies ahead of writePos (bytes of a window ago), or a distance of 0 or the
// whole window, where every byte is copied onto itself.
void copyAcrossWindow(std::uint8_t* window, std::uint32_t writePos, std::uint32_t length,
                      std::uint32_t distance)
{
    const std::uint32_t from = (writePos - distance) & windowMask;
    if (from == writePos) return;
    if (from + length > windowSize || writePos + length > windowSize) {
        for (std::uint32_t i = 0; i < length; ++i)
            window[(writePos + i) & windowMask] = window[(from + i) & windowMask];
    } else {
        std::memmove(window + writePos, window + from, length);  // each byte is read before it is overwritten
    }
}

// Copies as if byte by byte, so that a match may overlap the bytes it produces.
HOT void copyBytes(std::uint8_t* window, std::uint32_t& writePos, std::uint32_t length,
                   std::uint32_t distance)
{
    std::uint8_t* to = window + writePos;
    if (distance - 1 >= writePos || writePos + length > windowSize) {
        copyAcrossWindow(window, writePos, length, distance);
    } else if (distance >= 8) {
        copyFar(to, to - distance, length);
    } else if (distance == 1) {
        std::memset(to, to[-1], length);
    } else {
        const std::uint8_t* src = to - distance;
        for (std::uint32_t i = 0; i < length; ++i) to[i] = src[i];
    }
    writePos = (writePos + length) & windowMask;
}

// ---------------------------------------------------------------- LZ

// The working copy of the hot state: the register, window position and match
// history in locals, out of reach of the window's byte stores.
struct LzRun {
    BitRegister r;
    std::uint8_t* window;
    std::uint32_t writePos;
    std::int64_t bytesLeft;
    std::uint32_t oldDist[4];
    std::uint32_t oldDistCounter, lastDist, lastLength;
};

LzRun beginLzRun(const UnpackState& s)
{
    return LzRun{s.in.reg,
                 s.window,
                 s.writePos,
                 s.bytesLeft,
                 {s.oldDist[0], s.oldDist[1], s.oldDist[2], s.oldDist[3]},
                 s.oldDistCounter,
                 s.lastDist,
                 s.lastLength};
}

void endLzRun(UnpackState& s, const LzRun& run)
{
    s.in.reg = run.r;
    s.writePos = run.writePos;
    s.bytesLeft = run.bytesLeft;
    std::copy(std::begin(run.oldDist), std::end(run.oldDist), s.oldDist);
    s.oldDistCounter = run.oldDistCounter;
    s.lastDist = run.lastDist;
    s.lastLength = run.lastLength;
}

// Every match becomes the newest of the four previous distances and the last match.
HOT void copyMatch(LzRun& run, std::uint32_t length, std::uint32_t distance)
{
    run.oldDist[run.oldDistCounter++ & 3] = distance;
    run.lastDist = distance;
    run.lastLength = length;
    run.bytesLeft -= length;
    copyBytes(run.window, run.writePos, length, distance);
}

// 257..260: one of the four last distances; the length grows with the distance.
HOT void repeatMatch(UnpackState& s, LzRun& run, unsigned symbol)
{
    const std::uint32_t distance =
        run.oldDist[(run.oldDistCounter - (symbol - rarformat::firstRepeatSymbol + 1)) & 3];
    const unsigned n = decodeSymbol(run.r, s.repeatTable);
    std::uint32_t length = lengthBase[n] + 2 + getBits(run.r, lengthBits[n]);
    length += (distance >= rarformat::repeatBonusDistance) + (distance >= rarformat::farBonusDistance1) +
              (distance >= rarformat::farBonusDistance2);
    copyMatch(run, length, distance);
}

// 270..297: a coded length, then a distance from the distance table.
HOT void longMatch(UnpackState& s, LzRun& run, unsigned symbol)
{
    const unsigned n = symbol - rarformat::firstLengthSymbol;
    std::uint32_t length = lengthBase[n] + 3 + getBits(run.r, lengthBits[n]);
    const unsigned d = decodeSymbol(run.r, s.distanceTable);
    const std::uint32_t distance = distanceBase[d] + 1 + getBits(run.r, distanceBits[d]);
    length += (distance >= rarformat::farBonusDistance1) + (distance >= rarformat::farBonusDistance2);
    copyMatch(run, length, distance);
}

// One literal/length symbol other than 269 (new tables).
HOT void decodeLzSymbol(UnpackState& s, LzRun& run, unsigned symbol)
{
    if (symbol < rarformat::lastMatchSymbol) {
        run.window[run.writePos] = std::uint8_t(symbol);
        run.writePos = (run.writePos + 1) & windowMask;
        --run.bytesLeft;
    } else if (symbol == rarformat::lastMatchSymbol) {
        copyMatch(run, run.lastLength, run.lastDist);
    } else if (symbol < rarformat::firstShortSymbol) {
        repeatMatch(s, run, symbol);
    } else if (symbol < rarformat::newTablesSymbol) {
        const unsigned n = symbol - rarformat::firstShortSymbol;
        copyMatch(run, 2, shortBase[n] + 1 + getBits(run.r, shortBits[n]));
    } else {
        longMatch(s, run, symbol);
    }
}

// LZ steps until the file is produced, the data run dry, a flush is due or new
// tables come (those are read before returning).
void decodeLzSteps(UnpackState& s)
{
    LzRun run = beginLzRun(s);
    const std::uint32_t flushedPos = s.flushedPos;
    bool newTables = false;
    while (run.bytesLeft >= 0) {
        refill(run.r, s.in);
        if (ranDry(run.r, s.in) || !roomForStep(run.writePos, flushedPos)) break;
        const unsigned symbol = decodeSymbol(run.r, s.literalTable);
        if (symbol == rarformat::newTablesSymbol) {
            newTables = true;
            break;
        }
        decodeLzSymbol(s, run, symbol);
    }
    endLzRun(s, run);
    if (newTables) readCodeLengths(s);
}

// ---------------------------------------------------------------- audio steps

// Audio steps under the same conditions as decodeLzSteps; 256 means new tables.
// The register, positions and channel are worked on in locals, as in decodeLzSteps.
void decodeAudioSteps(UnpackState& s)
{
    BitRegister r = s.in.reg;
    std::uint32_t writePos = s.writePos;
    std::int64_t bytesLeft = s.bytesLeft;
    int channel = s.currentChannel, sharedDelta = s.sharedDelta;
    bool newTables = false;
    while (bytesLeft >= 0) {
        refill(r, s.in);
        if (ranDry(r, s.in) || !roomForStep(writePos, s.flushedPos)) break;
        const unsigned symbol = decodeSymbol(r, s.audioTables[channel]);
        if (symbol == rarformat::audioNewTablesSymbol) {
            newTables = true;
            break;
        }
        s.window[writePos] = predictAudioByte(s.channels[channel], sharedDelta, symbol);
        writePos = (writePos + 1) & windowMask;
        if (++channel >= s.channelCount) channel = 0;
        --bytesLeft;
    }
    s.in.reg = r;
    s.writePos = writePos;
    s.bytesLeft = bytesLeft;
    s.currentChannel = channel;
    s.sharedDelta = sharedDelta;
    if (newTables) readCodeLengths(s);
}

// ---------------------------------------------------------------- one file

// The window is zero beyond what streams wrote into it since it was last cleared.
void clearWindow(UnpackState& s)
{
    std::memset(s.window, 0, s.windowDirty);
    s.windowDirty = 0;
}

// After steps from `before` on: a wrap leaves the whole window written.
void noteWindowWrites(UnpackState& s, std::uint32_t before)
{
    s.windowDirty = s.writePos < before ? windowSize : std::max(s.windowDirty, s.writePos);
}

// A fresh stream forgets all history and starts on a zeroed window; a continuing
// one keeps everything but the bit input.
void startFile(UnpackState& s, bool continues)
{
    if (!continues) {
        for (auto& ch : s.channels) ch = AudioChannelState{};
        std::fill(std::begin(s.oldDist), std::end(s.oldDist), 0);
        s.oldDistCounter = s.lastDist = s.lastLength = 0;
        s.sharedDelta = s.currentChannel = 0;
        clearWindow(s);
        std::memset(s.previousLengths, 0, sizeof s.previousLengths);
        s.writePos = s.flushedPos = 0;
    }
    startBits(s.in);
    if (!continues) readCodeLengths(s);
}

// A stream may end with the new-tables symbol, read here for the next file when at
// least 5 bytes of packed data are left.
void readLastTables(UnpackState& s)
{
    if (!bytesAhead(s.in, 5)) return;
    BitRegister& r = s.in.reg;
    refill(r, s.in);
    if (s.audioMode) {
        if (decodeSymbol(r, s.audioTables[s.currentChannel]) == rarformat::audioNewTablesSymbol)
            readCodeLengths(s);
    } else if (decodeSymbol(r, s.literalTable) == rarformat::newTablesSymbol) {
        readCodeLengths(s);
    }
}

// Steps until a flush is due, the tables change, or the file ends. Between two
// flushes the steps move on less than a window: a write position below the one
// before means they wrapped.
void decodeSteps(UnpackState& s)
{
    const std::uint32_t before = s.writePos;
    if (s.audioMode)
        decodeAudioSteps(s);
    else
        decodeLzSteps(s);
    noteWindowWrites(s, before);
}

// Whether the current file goes on from the stream the call decoded before it.
bool continuesStream()
{
    return (reader.archive.file.head.flags & rarformat::flagContinuesSolid) != 0 &&
           reader.unpack.streamStarted;
}

#undef HOT

}  // namespace

// Decodes the current file until its unpacked size is produced. Bytes reach the
// output buffer only for the wanted file. Decoding ends early once it has taken
// bits beyond the packed data; the file then comes out short and fails.
void decompressFile(std::uint8_t* window)
{
    UnpackState& s = reader.unpack;
    const FileHeader& file = reader.archive.file;
    s.window = window;
    startFile(s, continuesStream());
    s.streamStarted = true;
    s.bytesLeft = std::int64_t(file.unpSize) - 1;
    while (s.bytesLeft >= 0) {
        refill(s.in.reg, s.in);
        if (ranDry(s.in.reg, s.in)) break;
        if (roomAhead(s.flushedPos, s.writePos) < flushMargin) handOn(s);
        if (s.bytesLeft >= 0) decodeSteps(s);
    }
    readLastTables(s);
    if (reader.archive.fileFound) flushWindow(s);
    s.flushedPos = s.writePos;
    s.window = nullptr;
}

}  // namespace rarreader
