// Real archives written by the real archiver: every member the reader supports
// comes out with its CRC, every member it refuses is refused with its reason.
#include <gtest/gtest.h>

#include <string>

#include "test_archive.h"

using namespace testrar;

namespace {

const char* const crcError = "CRC32 error - file couldn't be decompressed correctly!";
const char* const etalon = "expected/etalon.bin";
const char* const wav = "expected/BoatModernEnglish.wav";

struct FixtureCase {
    const char* archive;
    const char* member;
    const char* password;
    long size;             // -1: refused
    const char* expected;  // success: a file in expected/ or the text; refusal: the logged reason
};

const FixtureCase cases[] = {
    {"test_v2.rar", "p0.bin", nullptr, 16384, etalon},
    {"test_v2.rar", "p1.bin", nullptr, 16384, etalon},
    {"test_v2.rar", "p2.bin", nullptr, 16384, etalon},
    {"test_v2.rar", "p3.bin", nullptr, 16384, etalon},
    {"test_v2.rar", "p4.bin", nullptr, 16384, etalon},
    {"test_v2.rar", "p5.bin", nullptr, 16384, etalon},
    {"test_v2.rar", "pMM.bin", nullptr, 16384, etalon},
    {"test_v2solid5.rar", "p5.bin", nullptr, 16384, etalon},
    {"test_v2solid5.rar", "p5_solid.bin", nullptr, 16384, etalon},
    {"mm.rar", "1.M", nullptr, 99072, nullptr},
    {"BoatModernEnglish-audio-text-unpack20.rar", "BoatModernEnglish.wav", nullptr, 56464, wav},
    {"BoatModernEnglish-audio-text-unpack20.rar", "LICENSE.txt", nullptr, 107, nullptr},
    {"BoatModernEnglish-regular-unpack20.rar", "BoatModernEnglish.wav", nullptr, 56464, wav},
    {"BoatModernEnglish-regular-unpack20.rar", "LICENSE.txt", nullptr, 107, nullptr},
    {"BoatModernEnglish-regular-unpack15-win.rar", "BoatModernEnglish.wav", nullptr, -1, crcError},
    {"BoatModernEnglish-regular-unpack15-win.rar", "LICENSE.txt", nullptr, -1, crcError},
    {"Rar2.rar", "exe", nullptr, 0, nullptr},
    {"Rar2.rar", "jpg", nullptr, 0, nullptr},
    {"Rar2.rar", "exe\\test.exe", nullptr, 45056, nullptr},
    {"Rar2.rar", "exe/test.exe", nullptr, 45056, nullptr},
    {"Rar2.rar", "JPG\\TEST.JPG", nullptr, 40372, nullptr},
    {"Rar2.rar", "????.txt", nullptr, 15498, nullptr},
    {"Rar2.multi.rar", "exe\\test.exe", nullptr, -1, crcError},
    {"rar20-password-compressed.rar", "SECRET.TXT", "password", 87, nullptr},
    {"rar20-password-stored.rar", "secret.txt", "password", 87, nullptr},  // a last partial cipher block
    {"rar20-password-compressed.rar", "SECRET.TXT", nullptr, -1, crcError},
    {"rar20-password-stored.rar", "SECRET.TXT", "wrong", -1, crcError},
    {"rar15-password-compressed.rar", "SECRET.TXT", "password", -1, crcError},
    {"rar15-password-stored.rar", "SECRET.TXT", "password", -1, crcError},
    {"rar15-comment.rar", "FILE2.TXT", nullptr, 8, nullptr},
    {"rar15-comment.rar", "FILE1.TXT", nullptr, -1, crcError},
    {"rar202-comment-nopsw.rar", "FILE1.TXT", nullptr, 7, "file1\r\n"},  // file comments inside the headers
    {"rar202-comment-nopsw.rar", "FILE2.TXT", nullptr, 7, "file2\r\n"},
    {"rar2-unix-owner.rar", "file.txt", nullptr, 4, "foo\n"},
    {"rar2-unix-owner.rar", "missing.txt", nullptr, -1, "Sorry, sub-headers not supported."},
    {"seektest.rar", "stest1.txt", nullptr, -1, "unknown compression method"},
    {"seektest.rar", "stest2.txt", nullptr, 2048, nullptr},
    {"rar3-solid.rar", "stest2.txt", nullptr, -1, "unknown compression method"},
    {"rar5-solid.rar", "stest1.txt", nullptr, -1, "Not a RAR file"},
    {"rar14-password-stored.rar", "x", "password", -1, "Not a RAR file"},
    {"rar14-empty.rar", "x", nullptr, -1, "Not a RAR file"},
    {"crafted/mac-subblock.rar", "file2.txt", nullptr, -1, "Sorry, sub-headers not supported."},
    {"crafted/void-dist-v20.rar", "void20", nullptr, -1, crcError},
    {"no-such-archive.rar", "x", nullptr, -1, "Error opening file."},
};

class FixtureTest : public ::testing::TestWithParam<FixtureCase> {};

TEST_P(FixtureTest, ExtractsOrRefusesWithItsReason)
{
    const FixtureCase& c = GetParam();
    const Extraction e = extract(fixture(c.archive), c.member, c.password);
    ASSERT_EQ(e.result, c.size >= 0 ? 1 : 0) << c.archive << " " << c.member << ": " << e.lastMessage;
    const std::vector<std::string> log = lastCallMessages();
    if (c.size < 0) {
        ASSERT_GE(log.size(), 2u);
        EXPECT_EQ(log[log.size() - 2], c.expected);  // the reason, just before the failure line
        return;
    }
    EXPECT_EQ(e.bytes.size(), std::size_t(c.size));
    const std::string expected = c.expected ? c.expected : "";
    if (expected.rfind("expected/", 0) == 0) {
        EXPECT_TRUE(e.bytes == readFile(fixture(expected)));
    } else if (!expected.empty()) {
        EXPECT_EQ(std::string(e.bytes.begin(), e.bytes.end()), expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, FixtureTest, ::testing::ValuesIn(cases));

// An image in memory is read exactly as its file: same result, bytes and log (but
// for the archive's name in the first line).
TEST(Fixtures, MemoryImageGivesWhatTheFileGives)
{
    for (const FixtureCase& c : cases) {
        const Bytes image = readFile(fixture(c.archive));
        if (image.empty()) continue;
        const Extraction fromFile = extract(fixture(c.archive), c.member, c.password);
        const std::vector<std::string> fileLog = lastCallMessages();
        const Extraction fromMemory = extractImage(image, c.member, c.password);
        const std::vector<std::string> memoryLog = lastCallMessages();
        EXPECT_EQ(fromMemory.result, fromFile.result) << c.archive << " " << c.member;
        EXPECT_TRUE(fromMemory.bytes == fromFile.bytes) << c.archive << " " << c.member;
        ASSERT_EQ(memoryLog.size(), fileLog.size()) << c.archive << " " << c.member;
        EXPECT_TRUE(std::equal(fileLog.begin() + 1, fileLog.end(), memoryLog.begin() + 1)) << c.archive;
    }
}

// Refusals that name their cause earlier in the call.
TEST(Fixtures, CausesAreNamedInTheLog)
{
    const struct {
        const char *archive, *member, *message;
    } cases[] = {
        {"rar15-password-stored.rar", "SECRET.TXT", "Old Crypt() not supported!"},
        {"rar14-empty.rar", "x", "Attention: format as OLD detected! Can't handel archive!"},
        {"rar5-solid.rar", "x",
         "unknown archive type (only plain RAR supported (normal and solid archives), SFX and Volumes are "
         "NOT "
         "supported!)"},
        {"seektest.rar", "stest2.txt", "file header broken"},
    };
    for (const auto& c : cases) {
        extract(fixture(c.archive), c.member, "password");
        EXPECT_EQ(lastCallMessages().at(1), c.message) << c.archive;
    }
}

}  // namespace
