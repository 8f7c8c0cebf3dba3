// The decompressor on hand-made streams, where its behaviour is subtle: matches
// that overlap their own output, the window wrap, tables read at the end of a
// solid file, interleaved audio channels, overruns and streams that run dry.
#include <gtest/gtest.h>

#include <string>

#include "archive/reader_internal.h"
#include "test_archive.h"

using namespace testrar;

namespace {

const std::vector<std::uint8_t> lzLengths(std::uint8_t literal = 9)
{
    std::vector<std::uint8_t> l(298, literal);
    l.resize(298 + 48, 6);
    l.resize(374, 5);
    return l;
}

// Writes LZ symbols and keeps the bytes they stand for.
struct LzStream {
    BitWriter w;
    Code literals{std::vector<std::uint8_t>(298, 9)};
    Code distances{std::vector<std::uint8_t>(48, 6)};
    Bytes out;

    void tables(std::uint8_t literalLength = 9)
    {
        putTables(w, lzLengths(literalLength));
        literals = Code(std::vector<std::uint8_t>(298, literalLength));
    }
    void newTables(std::uint8_t literalLength)
    {
        literals.put(w, 269);
        tables(literalLength);
    }
    void literal(std::uint8_t b)
    {
        literals.put(w, b);
        out.push_back(b);
    }
    void match(unsigned length, unsigned distance);
};

// A match through symbols 270..297 and the distance table.
void LzStream::match(unsigned length, unsigned distance)
{
    static const unsigned lengthBase[28] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  10,  12,  14,  16,  20,
                                            24, 28, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224};
    static const unsigned lengthBits[28] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2,
                                            2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5};
    unsigned d = 0;
    std::uint32_t base = 0, bits = 0;
    for (std::uint32_t b = 0, i = 0; i < 48; ++i) {  // distance base/extra, as the format builds them
        const std::uint32_t extra = i < 4 ? 0 : std::min<std::uint32_t>((i - 2) / 2, 16);
        if (b + 1 <= distance) d = i, base = b, bits = extra;
        b += 1u << extra;
    }
    const unsigned coded = length - (distance >= 0x2000) - (distance >= 0x40000);
    unsigned n = 0;
    while (n + 1 < 28 && lengthBase[n + 1] + 3 <= coded) ++n;
    literals.put(w, 270 + n);
    w.put(coded - lengthBase[n] - 3, lengthBits[n]);
    distances.put(w, d);
    w.put(distance - base - 1, bits);
    // Before the stream's first byte lie zeros, as in a fresh window.
    for (unsigned i = 0; i < length; ++i)
        out.push_back(out.size() >= distance ? out[out.size() - distance] : 0);
}

Extraction extractPacked(const std::string& file, const Bytes& packed, const Bytes& content,
                         std::uint32_t unpSize)
{
    Member m = packedMember("data.bin", packed, content);
    m.unpSize = unpSize;
    return extract(saveArchive(file, buildArchive(std::vector<Member>{m})), "data.bin");
}

TEST(Unpack, OverlappingMatchRepeatsItsOwnOutput)
{
    LzStream s;
    s.tables();
    s.literal('x');
    s.match(10, 1);
    s.literal('a');
    s.literal('b');
    s.match(7, 2);
    ASSERT_EQ(std::string(s.out.begin(), s.out.end()), "xxxxxxxxxxxababababa");
    const Extraction e = extractPacked("overlap.rar", s.w.finish(), s.out, std::uint32_t(s.out.size()));
    ASSERT_EQ(e.result, 1) << e.lastMessage;
    EXPECT_EQ(e.bytes, s.out);
}

TEST(Unpack, LargeFileWrapsTheWindowAndHandsOnEveryByte)
{
    LzStream s;
    s.tables();
    std::uint32_t seed = 1;
    for (int i = 0; i < 1000; ++i) s.literal(std::uint8_t((seed = seed * 1103515245 + 12345) >> 24));
    for (unsigned i = 0; s.out.size() < 1600000; ++i) {
        s.match(258 - i % 7, i % 3 == 0 ? 1000 : 999 + i % 5);
        if (i % 4 == 0) s.literal(std::uint8_t(i));
        if (i % 1000 == 0)
            s.match(200, std::uint32_t(
                             std::min<std::size_t>(s.out.size() - 7, 1000000)));  // reaches back a long way
    }
    const Extraction e = extractPacked("wrap.rar", s.w.finish(), s.out, std::uint32_t(s.out.size()));
    ASSERT_EQ(e.result, 1) << e.lastMessage;
    EXPECT_TRUE(e.bytes == s.out);
}

TEST(Unpack, MatchesOfEveryNearDistanceCopyAsByteByByte)
{
    // Distances 1 to 20 with lengths 3 to 40: runs of one byte, short patterns that
    // overlap themselves, and copies from far enough back to move 8 bytes at a time.
    LzStream s;
    s.tables();
    std::uint32_t seed = 7;
    for (int i = 0; i < 64; ++i) s.literal(std::uint8_t((seed = seed * 1103515245 + 12345) >> 24));
    for (unsigned distance = 1; distance <= 20; ++distance)
        for (unsigned length : {3u, 4u, 5u, 7u, 8u, 9u, 15u, 16u, 17u, 23u, 40u}) {
            s.match(length, distance);
            s.literal(std::uint8_t(distance * 31 + length));
        }
    const Extraction e = extractPacked("near.rar", s.w.finish(), s.out, std::uint32_t(s.out.size()));
    ASSERT_EQ(e.result, 1) << e.lastMessage;
    EXPECT_TRUE(e.bytes == s.out);
}

TEST(Unpack, MatchesAcrossTheWindowsEndAndAWholeWindowBack)
{
    // Sources and destinations that run over the window's end, a source just ahead
    // of the write position (a distance a few bytes short of the window) and one
    // exactly a window back, where every byte is copied onto itself.
    LzStream s;
    s.tables();
    std::uint32_t seed = 3;
    for (int i = 0; i < 4096; ++i) s.literal(std::uint8_t((seed = seed * 1103515245 + 12345) >> 24));
    const auto fillTo = [&](std::size_t size) {
        while (s.out.size() + 300 < size) s.match(258, 4096);
        while (s.out.size() < size) s.literal(std::uint8_t(s.out.size()));
    };
    fillTo(rarreader::windowSize - 20);
    s.match(60, 5000);  // the destination wraps
    fillTo(rarreader::windowSize + 30);
    s.match(60, 100);                        // the source wraps
    s.match(40, rarreader::windowSize - 5);  // the source lies 5 bytes ahead
    s.match(40, rarreader::windowSize - 12);
    s.match(40, rarreader::windowSize);
    for (int i = 0; i < 50; ++i) s.literal(std::uint8_t(i));
    const Extraction e = extractPacked("window-edge.rar", s.w.finish(), s.out, std::uint32_t(s.out.size()));
    ASSERT_EQ(e.result, 1) << e.lastMessage;
    EXPECT_TRUE(e.bytes == s.out);
}

TEST(Unpack, MatchesReachingBeforeTheStartReadZeros)
{
    // The wanted file of a fresh stream and a file passed over in a solid archive
    // both find zeros before the stream's start, and the next file of the solid
    // stream sees what the window holds.
    LzStream first;
    first.tables();
    first.literal('a');
    first.literal('b');
    first.match(6, 10);  // wholly before the start
    first.match(5, 9);   // partly
    first.literal('c');
    first.match(40, 100000);
    ASSERT_EQ(first.out.size(), 54u);
    EXPECT_EQ(first.out[9], 'a');
    LzStream second;
    second.literals = first.literals;
    second.out = first.out;
    second.match(30, 60);
    second.match(20, 13);
    second.literal('d');
    const Bytes secondBytes(second.out.begin() + std::ptrdiff_t(first.out.size()), second.out.end());
    ArchiveLayout layout;
    layout.solid = true;
    layout.members = {packedMember("one", first.w.finish(), first.out),
                      packedMember("two", second.w.finish(), secondBytes, true)};
    const std::string path = saveArchive("before-start.rar", buildArchive(layout));
    const Extraction one = extract(path, "one"), two = extract(path, "two");
    ASSERT_EQ(one.result, 1) << one.lastMessage;
    EXPECT_EQ(one.bytes, first.out);
    ASSERT_EQ(two.result, 1) << two.lastMessage;
    EXPECT_EQ(two.bytes, secondBytes);

    // Calls on images keep their window: one that an earlier call filled all over
    // with 'x' must read as fresh again.
    LzStream filler;
    filler.tables();
    filler.literal('x');
    while (filler.out.size() < rarreader::windowSize + 1000) filler.match(255, 1);
    LzStream last;
    last.literals = filler.literals;
    last.literal('e');
    ArchiveLayout filled;
    filled.solid = true;
    filled.members = {packedMember("fill", filler.w.finish(), filler.out),
                      packedMember("last", last.w.finish(), Bytes(1, 'e'), true)};
    ASSERT_EQ(extractImage(buildArchive(filled), "last").result, 1);
    const Extraction again = extractImage(buildArchive(layout), "two");
    ASSERT_EQ(again.result, 1) << again.lastMessage;
    EXPECT_EQ(again.bytes, secondBytes);
}

TEST(Unpack, CodesLongerThanTheLookUpTableDecode)
{
    // Literal codes of every length from 1 to 15: those above 10 bits are found by
    // walking the limits past the table of 10-bit prefixes.
    std::vector<std::uint8_t> lengths = lzLengths();
    std::fill(lengths.begin(), lengths.begin() + 298, 0);
    for (unsigned len = 1; len <= 15; ++len) lengths['a' + len - 1] = std::uint8_t(len);
    lengths['a' + 15] = 15;
    LzStream s;
    putTables(s.w, lengths);
    s.literals = Code(std::vector<std::uint8_t>(lengths.begin(), lengths.begin() + 298));
    for (unsigned i = 0; i < 16 * 40; ++i) s.literal(std::uint8_t('a' + (i * 7) % 16));
    const Extraction e = extractPacked("long-codes.rar", s.w.finish(), s.out, std::uint32_t(s.out.size()));
    ASSERT_EQ(e.result, 1) << e.lastMessage;
    EXPECT_EQ(e.bytes, s.out);
}

TEST(Unpack, TablesAtTheEndOfASolidFileServeTheNextFile)
{
    LzStream first;
    first.tables(9);
    for (char c : std::string("hello")) first.literal(std::uint8_t(c));
    first.newTables(10);  // read after the last byte, for the next file
    LzStream second;
    second.literals = first.literals;
    for (char c : std::string("world")) second.literal(std::uint8_t(c));
    ArchiveLayout layout;
    layout.solid = true;
    layout.members = {packedMember("one", first.w.finish(), first.out),
                      packedMember("two", second.w.finish(), second.out, true)};
    const std::string path = saveArchive("solid-tables.rar", buildArchive(layout));
    const Extraction one = extract(path, "one"), two = extract(path, "two");
    ASSERT_EQ(one.result, 1) << one.lastMessage;
    ASSERT_EQ(two.result, 1) << two.lastMessage;
    EXPECT_EQ(std::string(two.bytes.begin(), two.bytes.end()), "world");
}

TEST(Unpack, ContinuationFlagOnAFirstFileStartsAfresh)
{
    LzStream s;
    s.tables();
    for (char c : std::string("fresh")) s.literal(std::uint8_t(c));
    ArchiveLayout layout;
    layout.members = {packedMember("only", s.w.finish(), s.out, true)};
    const Extraction e = extract(saveArchive("lonely-continuation.rar", buildArchive(layout)), "only");
    ASSERT_EQ(e.result, 1) << e.lastMessage;
}

// The encoder's side of the audio predictor: the coded delta is the prediction
// minus the wanted byte; the state then moves exactly as the decoder's does.
struct AudioModel {
    int w[5] = {}, d[4] = {}, prevDelta = 0, prevSample = 0;
    std::uint32_t sums[11] = {}, count = 0;
};

std::uint8_t codeAudioByte(AudioModel& m, int& shared, std::uint8_t wanted)
{
    ++m.count;
    m.d[3] = m.d[2];
    m.d[2] = m.d[1];
    m.d[1] = m.prevDelta - m.d[0];
    m.d[0] = m.prevDelta;
    const int p = ((8 * m.prevSample + m.w[0] * m.d[0] + m.w[1] * m.d[1] + m.w[2] * m.d[2] + m.w[3] * m.d[3] +
                    m.w[4] * shared) >>
                   3) &
                  0xFF;
    const std::uint8_t delta = std::uint8_t(p - wanted);
    const int sample = p - delta, e = std::int8_t(delta) * 8;
    const int past[5] = {m.d[0], m.d[1], m.d[2], m.d[3], shared};
    m.sums[0] += std::abs(e);
    for (int k = 0; k < 5; ++k)
        m.sums[1 + 2 * k] += std::abs(e - past[k]), m.sums[2 + 2 * k] += std::abs(e + past[k]);
    m.prevDelta = shared = std::int8_t(sample - m.prevSample);
    m.prevSample = sample;
    if (m.count % 32 == 0) {
        int best = 0;
        for (int i = 1; i < 11; ++i)
            if (m.sums[i] < m.sums[best]) best = i;
        for (auto& s : m.sums) s = 0;
        int& weight = m.w[(best - 1) / 2];
        if (best > 0 && best % 2 == 1 && weight >= -16) --weight;
        if (best > 0 && best % 2 == 0 && weight < 16) ++weight;
    }
    return delta;
}

TEST(Unpack, ThreeChannelAudioInterleavesItsChannels)
{
    BitWriter w;
    putTables(w, std::vector<std::uint8_t>(3 * 257, 9), 3);
    const Code code(std::vector<std::uint8_t>(257, 9));
    AudioModel models[3];
    int shared = 0;
    Bytes signal;
    for (int i = 0; i < 3 * 500; ++i) {
        const int t = i / 3;
        const std::uint8_t value = i % 3 == 0   ? std::uint8_t(t * 3)
                                   : i % 3 == 1 ? ((t / 20) % 2 ? 200 : 40)
                                                : std::uint8_t((t * t * 7) >> 3);
        signal.push_back(value);
        code.put(w, codeAudioByte(models[i % 3], shared, value));
    }
    const Extraction e = extractPacked("audio3.rar", w.finish(), signal, std::uint32_t(signal.size()));
    ASSERT_EQ(e.result, 1) << e.lastMessage;
    EXPECT_EQ(e.bytes, signal);
    for (int c = 0; c < 3; ++c) {
        const rarreader::AudioChannelState& ch = rarreader::reader.unpack.channels[c];
        EXPECT_EQ(ch.sampleCount, 500u);
        EXPECT_EQ(ch.weight1, models[c].w[0]);
        EXPECT_EQ(ch.weight5, models[c].w[4]);
    }
    EXPECT_NE(models[0].w[0] * 100 + models[0].w[1], models[1].w[0] * 100 + models[1].w[1]);
}

TEST(Unpack, RepeatCodeAtTheFirstPlaceRepeatsZero)
{
    BitWriter w;
    w.put(0, 2);
    for (int i = 0; i < 19; ++i) w.put(5, 4);
    const Code bitLengths(std::vector<std::uint8_t>(19, 5));
    bitLengths.put(w, 16);
    w.put(3, 2);  // six places of length 0: literals 0..5 are absent
    std::vector<std::uint8_t> lengths = lzLengths();
    for (std::size_t i = 6; i < lengths.size(); ++i) bitLengths.put(w, lengths[i]);
    std::fill(lengths.begin(), lengths.begin() + 6, 0);
    lengths.resize(298);
    const Code literals(lengths);
    literals.put(w, 'A');
    literals.put(w, 6);
    const Bytes content = {'A', 6};
    const Extraction e = extractPacked("repeat-first.rar", w.finish(), content, 2);
    ASSERT_EQ(e.result, 1) << e.lastMessage;
    EXPECT_EQ(e.bytes, content);
}

TEST(Unpack, MatchBeyondTheFileSizeIsAnOverrun)
{
    LzStream s;
    s.tables();
    s.literal('a');
    s.match(10, 1);
    const Extraction e = extractPacked("overrun.rar", s.w.finish(), Bytes(5, 'a'), 5);
    EXPECT_EQ(e.result, 0);
    const std::string log = debugLog();
    const std::size_t call = log.rfind("Extracting >data.bin<");
    const std::size_t overrun = log.find("- Fatal! Buffer overrun during decompression!", call);
    EXPECT_NE(overrun, std::string::npos);
    EXPECT_NE(log.find("- CRC32 error - file couldn't be decompressed correctly!", overrun),
              std::string::npos);
}

// The number in the failure line: the bytes the call had produced.
unsigned producedBeforeFailure()
{
    const std::string line = lastCallMessages().back(), before = " and allocated ";
    const std::size_t at = line.find(before);
    return at == std::string::npos ? ~0u : unsigned(std::stoul(line.substr(at + before.size())));
}

TEST(Unpack, StreamThatRunsDryEndsWhereItsDataEnd)
{
    // The largest size the reader hands out, from a few bytes: decoding stops where
    // the data end (the zero bits the writer pads with still decode), and the short
    // file fails without a CRC over what was never made.
    LzStream s;
    s.tables();
    s.literal('z');
    Member m = packedMember("dry.bin", s.w.finish(), Bytes(1, 'z'));
    m.unpSize = rarreader::maxUnpackedSize;
    const Extraction e = extract(saveArchive("dry.rar", buildArchive(std::vector<Member>{m})), "dry.bin");
    EXPECT_EQ(e.result, 0);
    EXPECT_EQ(lastCallMessages().at(1), "CRC32 error - file couldn't be decompressed correctly!");
    EXPECT_LE(producedBeforeFailure(), 1u + 8u);
}

TEST(Unpack, DataThatRunOutDecodeAlikeWhateverCameBefore)
{
    // Past its packed data a file must not decode what earlier calls left in the
    // reader's buffers: the same damaged archive fails the same way every time.
    LzStream s;
    s.tables();
    for (char c : std::string("marmot")) s.literal(std::uint8_t(c));
    Member m = packedMember("cut.bin", s.w.finish(), s.out);
    m.unpSize = 500000;
    const Bytes damaged = buildArchive(std::vector<Member>{m});
    const auto failure = [&] {
        extractImage(damaged, "cut.bin");
        return lastCallMessages();
    };
    const std::vector<std::string> alone = failure();
    EXPECT_EQ(extract(fixture("Rar2.rar"), "jpg\\test.jpg").result, 1);
    EXPECT_EQ(failure(), alone);
    EXPECT_EQ(extract(fixture("BoatModernEnglish-audio-text-unpack20.rar"), "BoatModernEnglish.wav").result,
              1);
    EXPECT_EQ(failure(), alone);
    EXPECT_LE(producedBeforeFailure(), 6u + 8u);  // "marmot", then the padding's zero bits
}

}  // namespace
