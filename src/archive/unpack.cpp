// The RAR 2.0 decompressor: LZ77 over a 1 MiB window with canonical Huffman codes
// sent delta-coded, and the multimedia (audio) mode that codes the errors of an
// adaptive linear predictor over up to four interleaved channels.
//
// Format notes:
// - Bits are read most significant first; the decoder peeks 16 bits and skips what
//   it used. Input comes through readPacked in 8192- and 8160-byte reads, keeping
//   the last 32 bytes as lookahead.
// - A table read (readCodeLengths) starts with two flags: audio mode, and "keep the
//   previous lengths" (lengths are sent as differences modulo 16 to the last ones).
// - Literal/length symbols: 0..255 literal, 256 repeat the last match, 257..260 a
//   match at one of the four last distances, 261..268 a short match of length 2,
//   269 new tables, 270..297 a match with a coded distance.
// - Nothing here can fail: bad data decodes to bad bytes, every table index and
//   window position stays in bounds, and the caller's CRC check judges the result.
#include "archive/reader_internal.h"

#include <algorithm>
#include <iterator>
#include <cstring>

namespace rarreader {
namespace {

// ---------------------------------------------------------------- bit input

// The 16 bits that start at the current bit: three bytes big-endian, shifted.
std::uint32_t peekBits(const BitInput& in)
{
    const std::uint8_t* p = in.buffer + in.inPos;
    const std::uint32_t bits = std::uint32_t(p[0]) << 16 | std::uint32_t(p[1]) << 8 | p[2];
    return (bits >> (8 - in.bitOffset)) & 0xFFFF;
}

void skipBits(BitInput& in, unsigned n)
{
    in.inPos += (in.bitOffset + n) >> 3;
    in.bitOffset = (in.bitOffset + n) & 7;
}

// b extra bits (0 to 16) as a number.
std::uint32_t getBits(BitInput& in, unsigned b)
{
    if (b == 0) return 0;
    const std::uint32_t value = peekBits(in) >> (16 - b);
    skipBits(in, b);
    return value;
}

// Every file starts from an empty buffer: what its data do not fill reads as
// zeros, never as bytes an earlier file or call left there.
void firstFill(BitInput& in)
{
    std::memset(in.buffer, 0, sizeof in.buffer);
    const long got = readPacked(in.buffer, inBufferSize);
    in.inFill = got > 0 ? std::uint32_t(got) : 0;
    in.inPos = 0;
    in.bitOffset = 0;
}

// The buffer's last 32 bytes move to its start and new data follows them. inPos
// keeps pointing at the same stream byte (it may stand a little past 8191). Once
// the data have run out, only the valid part of those 32 bytes counts.
void refill(BitInput& in)
{
    const std::uint32_t kept = in.inFill > inBufferSize - 32 ? in.inFill - (inBufferSize - 32) : 0;
    std::memmove(in.buffer, in.buffer + inBufferSize - 32, 32);
    in.inPos -= inBufferSize - 32;
    const long got = readPacked(in.buffer + 32, inBufferSize - 32);
    in.inFill = got > 0 ? 32 + std::uint32_t(got) : kept;
    std::memset(in.buffer + in.inFill, 0, sizeof in.buffer - in.inFill);
}

// True once bits beyond the file's packed data have been taken: anything decoded
// from here on would be made up.
bool inputExhausted(const BitInput& in)
{
    return std::uint64_t(in.inPos) * 8 + in.bitOffset > std::uint64_t(in.inFill) * 8;
}

// ---------------------------------------------------------------- Huffman codes

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
}

// The code length is the first whose limit lies above the peeked bits; an index
// that garbage pushes past the table falls back to 0.
unsigned decodeSymbol(BitInput& in, const DecodeTable& t)
{
    const std::uint32_t value = peekBits(in) & 0xFFFE;
    unsigned len = 1;
    while (len < 15 && value >= t.limit[len]) ++len;
    skipBits(in, len);
    std::uint32_t index = t.firstIndex[len] + ((value - t.limit[len - 1]) >> (16 - len));
    if (index >= t.symbolCount) index = 0;
    return t.symbols[index];
}

// ---------------------------------------------------------------- table reads

// The lengths of one table read: 0..15 add to the previous length at the place,
// 16 repeats the length before (0 at the first place), 17 and 18 put zero runs.
void readLengths(UnpackState& s, std::uint8_t* lengths, unsigned total)
{
    BitInput& in = s.in;
    for (unsigned i = 0; i < total;) {
        if (in.inPos > 8187) refill(in);
        const unsigned symbol = decodeSymbol(in, s.bitLengthTable);
        unsigned run = 0;
        std::uint8_t value = 0;
        if (symbol < 16) {
            lengths[i] = (s.previousLengths[i] + symbol) & 15;
            ++i;
            continue;
        }
        if (symbol == 16) {
            run = getBits(in, 2) + 3;
            value = i > 0 ? lengths[i - 1] : 0;
        } else {
            run = symbol == 17 ? getBits(in, 3) + 3 : getBits(in, 7) + 11;
        }
        for (; run > 0 && i < total; --run) lengths[i++] = value;
    }
}

// New tables: audio tables per channel, or literal/length, distance and repeat-length
// tables. Places a read does not reach count as length 0 for the next delta.
void readCodeLengths(UnpackState& s)
{
    BitInput& in = s.in;
    if (in.inPos > 8167) refill(in);
    const std::uint32_t head = peekBits(in);
    s.audioMode = (head & 0x8000) != 0;
    if (!(head & 0x4000)) std::memset(s.previousLengths, 0, sizeof s.previousLengths);
    skipBits(in, 2);
    unsigned total = 298 + 48 + 28;
    if (s.audioMode) {
        s.channelCount = int((head >> 12) & 3) + 1;
        if (s.currentChannel >= s.channelCount) s.currentChannel = 0;
        skipBits(in, 2);
        total = 257 * unsigned(s.channelCount);
    }
    std::uint8_t bitLengths[19];
    for (auto& length : bitLengths) length = std::uint8_t(getBits(in, 4));
    buildHuffmanTable(bitLengths, s.bitLengthTable, 19);
    std::uint8_t lengths[sizeof s.previousLengths] = {};
    readLengths(s, lengths, total);
    if (s.audioMode) {
        for (int c = 0; c < s.channelCount; ++c) buildHuffmanTable(lengths + 257 * c, s.audioTables[c], 257);
    } else {
        buildHuffmanTable(lengths, s.literalTable, 298);
        buildHuffmanTable(lengths + 298, s.distanceTable, 48);
        buildHuffmanTable(lengths + 346, s.repeatTable, 28);
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

std::uint32_t absDiff(int a, int b) { return std::uint32_t(a > b ? a - b : b - a); }

// The channel's predicted byte minus the coded error is the output; the error
// sums track how each weight would have fared.
std::uint8_t predictAudioByte(UnpackState& s, unsigned delta)
{
    AudioChannelState& ch = s.channels[s.currentChannel];
    ++ch.sampleCount;
    ch.delta4 = ch.delta3;
    ch.delta3 = ch.delta2;
    ch.delta2 = ch.prevDelta - ch.delta1;
    ch.delta1 = ch.prevDelta;
    const int prediction = ((8 * ch.prevSample + ch.weight1 * ch.delta1 + ch.weight2 * ch.delta2 +
                             ch.weight3 * ch.delta3 + ch.weight4 * ch.delta4 +
                             ch.weight5 * s.sharedDelta) >> 3) & 0xFF;
    const int sample = prediction - int(delta);
    const int d = int(std::int8_t(delta)) * 8;
    const int past[5] = {ch.delta1, ch.delta2, ch.delta3, ch.delta4, s.sharedDelta};
    ch.errorSum[0] += absDiff(d, 0);
    for (int k = 0; k < 5; ++k) {
        ch.errorSum[1 + 2 * k] += absDiff(d, past[k]);
        ch.errorSum[2 + 2 * k] += absDiff(d, -past[k]);
    }
    ch.prevDelta = s.sharedDelta = std::int8_t(sample - ch.prevSample);
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
    const std::uint32_t last = s.writePos & windowMask;
    const std::uint32_t count = (last - first) & windowMask;
    if (std::uint64_t(*a.sizeVar) + count > a.outputSize) {
        RAR_LOG("Fatal! Buffer overrun during decompression!");
        s.bytesLeft = -1;
    } else {
        const std::uint32_t head = std::min(count, windowSize - first);
        if (!appendOutput(s.window + first, head) || !appendOutput(s.window, count - head)) s.bytesLeft = -1;
    }
    s.flushedPos = last;
}

// Hands bytes on, or for a file nobody asked for just passes them over.
void handOn(UnpackState& s)
{
    if (reader.archive.fileFound)
        flushWindow(s);
    else
        s.flushedPos = s.writePos & windowMask;
}

// Copies byte by byte so that a match may overlap the bytes it produces.
void copyMatch(UnpackState& s, std::uint32_t length, std::uint32_t distance)
{
    s.oldDist[s.oldDistCounter++ & 3] = distance;
    s.lastDist = distance;
    s.lastLength = length;
    s.bytesLeft -= length;
    std::uint32_t from = (s.writePos - distance) & windowMask;
    for (; length > 0; --length) {
        s.window[s.writePos] = s.window[from];
        from = (from + 1) & windowMask;
        s.writePos = (s.writePos + 1) & windowMask;
    }
}

// ---------------------------------------------------------------- symbols

// The slot tables (lengthBase .. shortBits) are in reader_internal.h, shared with the packer.

// 257..260: one of the four last distances; the length grows with the distance.
void repeatMatch(UnpackState& s, unsigned symbol)
{
    const std::uint32_t distance = s.oldDist[(s.oldDistCounter - (symbol - 256)) & 3];
    const unsigned n = decodeSymbol(s.in, s.repeatTable);
    std::uint32_t length = lengthBase[n] + 2 + getBits(s.in, lengthBits[n]);
    if (distance >= 257) ++length;
    if (distance >= 0x2000) ++length;
    if (distance >= 0x40000) ++length;
    copyMatch(s, length, distance);
}

// 270..297: a coded length, then a distance from the distance table.
void longMatch(UnpackState& s, unsigned symbol)
{
    const unsigned n = symbol - 270;
    std::uint32_t length = lengthBase[n] + 3 + getBits(s.in, lengthBits[n]);
    const unsigned d = decodeSymbol(s.in, s.distanceTable);
    const std::uint32_t distance = distanceBase[d] + 1 + getBits(s.in, distanceBits[d]);
    if (distance >= 0x2000) ++length;
    if (distance >= 0x40000) ++length;
    copyMatch(s, length, distance);
}

void decodeLz(UnpackState& s)
{
    const unsigned symbol = decodeSymbol(s.in, s.literalTable);
    if (symbol < 256) {
        s.window[s.writePos] = std::uint8_t(symbol);
        s.writePos = (s.writePos + 1) & windowMask;
        --s.bytesLeft;
    } else if (symbol == 256) {
        copyMatch(s, s.lastLength, s.lastDist);
    } else if (symbol < 261) {
        repeatMatch(s, symbol);
    } else if (symbol < 269) {
        const unsigned n = symbol - 261;
        copyMatch(s, 2, shortBase[n] + 1 + getBits(s.in, shortBits[n]));
    } else if (symbol == 269) {
        readCodeLengths(s);
    } else {
        longMatch(s, symbol);
    }
}

// One byte of the current channel, or (256) new tables.
void decodeAudio(UnpackState& s)
{
    const unsigned symbol = decodeSymbol(s.in, s.audioTables[s.currentChannel]);
    if (symbol == 256) {
        readCodeLengths(s);
        return;
    }
    s.window[s.writePos] = predictAudioByte(s, symbol);
    s.writePos = (s.writePos + 1) & windowMask;
    if (++s.currentChannel >= s.channelCount) s.currentChannel = 0;
    --s.bytesLeft;
}

// ---------------------------------------------------------------- one file

// A fresh stream forgets all history; a continuing one keeps everything but the bit input.
void startFile(UnpackState& s, bool continues)
{
    if (!continues) {
        for (auto& ch : s.channels) ch = AudioChannelState{};
        std::fill(std::begin(s.oldDist), std::end(s.oldDist), 0);
        s.oldDistCounter = s.lastDist = s.lastLength = 0;
        s.sharedDelta = s.currentChannel = 0;
        if (!s.windowZeroed) std::memset(s.window, 0, windowSize);
        std::memset(s.previousLengths, 0, sizeof s.previousLengths);
        s.writePos = s.flushedPos = 0;
    }
    s.windowZeroed = false;
    firstFill(s.in);
    if (!continues) readCodeLengths(s);
}

// A stream may end with the new-tables symbol, read here for the next file.
void readLastTables(UnpackState& s)
{
    if (s.in.inPos + 5 > s.in.inFill) return;
    if (s.audioMode) {
        if (decodeSymbol(s.in, s.audioTables[s.currentChannel]) == 256) readCodeLengths(s);
    } else if (decodeSymbol(s.in, s.literalTable) == 269) {
        readCodeLengths(s);
    }
}

}  // namespace

// Decodes the current file until its unpacked size is produced. Bytes reach the
// output buffer only for the wanted file. Decoding ends early once it has taken
// bits beyond the packed data; the file then comes out short and fails.
void decompressFile(std::uint8_t* window)
{
    UnpackState& s = reader.unpack;
    const FileHeader& file = reader.archive.file;
    s.window = window;
    startFile(s, (file.head.flags & 0x0010) != 0 && s.streamStarted);
    s.streamStarted = true;
    s.bytesLeft = std::int64_t(file.unpSize) - 1;
    while (s.bytesLeft >= 0) {
        if (s.in.inPos > 8162) refill(s.in);
        if (inputExhausted(s.in)) break;
        if (s.flushedPos != s.writePos && ((s.flushedPos - s.writePos) & windowMask) < 270) handOn(s);
        if (s.audioMode)
            decodeAudio(s);
        else
            decodeLz(s);
    }
    readLastTables(s);
    if (reader.archive.fileFound) flushWindow(s);
    s.flushedPos = s.writePos;
}

}  // namespace rarreader
