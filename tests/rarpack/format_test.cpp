// Format details that a round trip alone would not pin down: code length
// limits, the headers as other tools read them, and safe walking of bad input.
#include "internal.h"
#include "support.h"

#include <gtest/gtest.h>

namespace rarpack::test {
namespace {

using namespace rarpack::detail;

TEST(Huffman, LengthsStayWithinFifteenBitsAndFormACompleteCode)
{
    // Fibonacci weights would give a 40-deep tree without the limit.
    std::vector<std::uint32_t> freq(rarformat::literalCount, 0);
    std::uint32_t a = 1, b = 1;
    for (int s = 0; s < 40; ++s) freq[s] = a, b = a + b, a = b - a;
    freq[100] = 1;
    std::vector<std::uint8_t> lengths(rarformat::literalCount);
    buildCodeLengths(freq.data(), rarformat::literalCount, lengths.data(), maxCodeLength);
    double kraft = 0;
    for (unsigned s = 0; s < rarformat::literalCount; ++s) {
        EXPECT_LE(lengths[s], maxCodeLength);
        EXPECT_EQ(lengths[s] != 0, freq[s] != 0) << s;
        if (lengths[s]) {
            kraft += std::ldexp(1.0, -lengths[s]);
        }
    }
    EXPECT_DOUBLE_EQ(kraft, 1.0);
}

TEST(Huffman, CanonicalCodesFollowLengthThenSymbol)
{
    const std::uint8_t lengths[6] = {3, 2, 0, 3, 2, 2};
    std::uint16_t codes[6];
    buildCodes(lengths, 6, codes);
    // Length 2: symbols 1, 4, 5 -> 00, 01, 10; length 3: symbols 0, 3 -> 110, 111.
    const std::uint16_t expected[6] = {6, 0, 0, 7, 1, 2};
    for (int s = 0; s < 6; ++s)
        if (lengths[s]) {
            EXPECT_EQ(codes[s], expected[s]) << s;
        }
}

TEST(BitWriter, WritesMostSignificantBitFirst)
{
    BitWriter out;
    putBits(out, 0x5, 3);      // 101
    putBits(out, 0x1234, 16);  // 0001 0010 0011 0100
    flushBits(out);
    const Bytes expected = {0xA2, 0x46, 0x80};
    EXPECT_EQ(out.bytes, expected);
}

TEST(AudioPredictor, SymbolsReproduceTheWantedBytes)
{
    const Bytes wanted = samples(3000, 3, 1, 2);
    AudioState encoder, decoder;
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        const int channel = decoder.current;
        const int symbol = audioSymbol(encoder, 3, wanted[i]);
        EXPECT_EQ(predictAudioByte(decoder.channel[channel], decoder.sharedDelta, symbol), wanted[i]) << i;
        decoder.current = (decoder.current + 1) % 3;
    }
    for (const AudioChannel& c : encoder.channel)
        for (int w : c.weight) EXPECT_TRUE(w >= -17 && w <= 16);
}

TEST(Headers, MarkerMainHeaderFileHeaderAndEndBlock)
{
    Bytes image;
    std::vector<MemberReport> reports;
    std::string error;
    const Bytes data = text(1000, 1);
    ASSERT_TRUE(packArchive({{"dir\\a.txt", data, 0x12345678, 0100644}}, PackOptions{"pw", true, false, 6},
                            image, reports, error));
    const Bytes marker = {0x52, 0x61, 0x72, 0x21, 0x1A, 0x07, 0x00};
    EXPECT_TRUE(std::equal(marker.begin(), marker.end(), image.begin()));
    EXPECT_EQ(image[9], 0x73);
    EXPECT_EQ(image[10] & 0x08, 0x08);  // solid
    const std::uint8_t* file = image.data() + 20;
    EXPECT_EQ(file[2], 0x74);
    const unsigned flags = platform::le16(file + 3);
    EXPECT_EQ(flags & 0x8004u, 0x8004u);  // data follows, encrypted
    EXPECT_EQ(flags & 0x0010u, 0u);       // the first file starts the stream
    EXPECT_EQ(file[24], 20);
    EXPECT_TRUE(file[25] >= 0x33 && file[25] <= 0x35);
    const std::uint32_t packed = platform::le32(file + 7);
    EXPECT_EQ(packed % 16, 0u);
    const Bytes end = {0xC4, 0x3D, 0x7B, 0x00, 0x40, 0x07, 0x00};
    EXPECT_TRUE(std::equal(end.begin(), end.end(), image.end() - 7));

    Listing listing;
    ASSERT_TRUE(listArchive(image, listing, error)) << error;
    ASSERT_EQ(listing.entries.size(), 1u);
    EXPECT_TRUE(listing.solid);
    EXPECT_TRUE(listing.entries[0].headerCrcOk);
    EXPECT_EQ(listing.entries[0].name, "dir\\a.txt");
    EXPECT_EQ(listing.entries[0].size, data.size());
    EXPECT_EQ(listing.entries[0].crc, ~crc32Of(data.data(), data.size()));
}

TEST(Headers, SolidContinuationFlagFollowsTheCompressedStream)
{
    Bytes image;
    std::vector<MemberReport> reports;
    std::string error;
    ASSERT_TRUE(packArchive({{"noise", randomBytes(500, 1)}, {"a", text(900, 1)}, {"b", text(900, 2)}},
                            PackOptions{"", true, false, 6}, image, reports, error));
    Listing listing;
    ASSERT_TRUE(listArchive(image, listing, error));
    ASSERT_EQ(listing.entries.size(), 3u);
    EXPECT_EQ(listing.entries[0].method, 0x30);
    EXPECT_EQ(listing.entries[1].flags & 0x10, 0);  // first compressed member: fresh decoder
    EXPECT_EQ(listing.entries[2].flags & 0x10, 0x10);
}

TEST(Input, RefusesWhatTheReaderCouldNotFindAgain)
{
    const struct {
        std::vector<Member> members;
        PackOptions options;
    } cases[] = {
        {{{"a.txt", {}}, {"A.TXT", {}}}, {}},  // same name without regard to case
        {{{"a/b", {}}, {"a\\b", {}}}, {}},     // same name without regard to separators
        {{{"../x", {}}}, {}},
        {{{"/etc/x", {}}}, {}},
        {{{std::string(256, 'n'), {}}}, {}},  // longer than the reader's name buffer
        {{{"a", {}}}, {std::string(256, 'p'), false, false, 6}},
        {{{"a", {}}}, {"", false, false, 0}},
    };
    for (const auto& c : cases) {
        Bytes image;
        std::vector<MemberReport> reports;
        std::string error;
        EXPECT_FALSE(packArchive(c.members, c.options, image, reports, error));
        EXPECT_FALSE(error.empty());
    }
}

TEST(Names, SafeMemberNames)
{
    const struct {
        const char* name;
        bool safe;
    } cases[] = {{"a.bmp", true},     {"dir\\a.bmp", true},   {"dir/a.bmp", true}, {"..a", true},
                 {"", false},         {"/etc/passwd", false}, {"\\a", false},      {"..", false},
                 {"a\\..\\b", false}, {"../a", false},        {"C:a", false},      {"a\\\\b", false},
                 {"./a", false},      {"a/", false}};
    for (const auto& c : cases) EXPECT_EQ(isSafeMemberName(c.name), c.safe) << c.name;
}

// Truncated or bit-flipped images are refused or listed, never read past their end.
TEST(Listing, DamagedImagesAreHandled)
{
    Bytes image;
    std::vector<MemberReport> reports;
    std::string error;
    ASSERT_TRUE(packArchive({{"a", text(3000, 1)}, {"b", randomBytes(200, 2)}}, PackOptions{}, image, reports,
                            error));
    Listing listing;
    for (std::size_t cut = 0; cut + 7 < image.size(); ++cut) {
        const Bytes part(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(cut));
        if (!listArchive(part, listing, error)) {
            EXPECT_FALSE(error.empty());
        }
    }
    Random r{5};
    for (int i = 0; i < 2000; ++i) {
        Bytes bad = image;
        bad[r.next() % 120] ^= static_cast<std::uint8_t>(1u << (r.next() % 8));
        listArchive(bad, listing, error);
    }
}

TEST(Listing, ReadsArchivesOfTheRealProgram)
{
    Listing listing;
    std::string error;
    ASSERT_TRUE(listArchive(readFile(std::string(ZW_RAR_FIXTURES) + "/test_v2.rar"), listing, error))
        << error;
    ASSERT_EQ(listing.entries.size(), 7u);
    EXPECT_EQ(listing.entries[0].name, "p0.bin");
    EXPECT_EQ(listing.entries[0].size, 16384u);
    EXPECT_EQ(listing.entries[0].crc, 0x10751abau);
}

}  // namespace
}  // namespace rarpack::test
