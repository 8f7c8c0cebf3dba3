// Real archives written by the real archiver: every member the reader supports
// comes out with its CRC, every member it refuses is refused with its reason.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_archive.h"

using namespace testrar;

namespace {

struct FixtureCase {
    const char* archive;
    const char* member;
    const char* password;
    bool ok;
    std::uint32_t size;          // for successes
    const char* expectedFile;    // in expected/, or null
    const char* lastMessage;     // for failures: the reason logged just before the failure line
};

const FixtureCase cases[] = {
    {"test_v2.rar", "p0.bin", nullptr, true, 16384, "expected/etalon.bin", nullptr},
    {"test_v2.rar", "p1.bin", nullptr, true, 16384, "expected/etalon.bin", nullptr},
    {"test_v2.rar", "p2.bin", nullptr, true, 16384, "expected/etalon.bin", nullptr},
    {"test_v2.rar", "p3.bin", nullptr, true, 16384, "expected/etalon.bin", nullptr},
    {"test_v2.rar", "p4.bin", nullptr, true, 16384, "expected/etalon.bin", nullptr},
    {"test_v2.rar", "p5.bin", nullptr, true, 16384, "expected/etalon.bin", nullptr},
    {"test_v2.rar", "pMM.bin", nullptr, true, 16384, "expected/etalon.bin", nullptr},
    {"test_v2solid5.rar", "p5.bin", nullptr, true, 16384, "expected/etalon.bin", nullptr},
    {"test_v2solid5.rar", "p5_solid.bin", nullptr, true, 16384, "expected/etalon.bin", nullptr},
    {"mm.rar", "1.M", nullptr, true, 99072, nullptr, nullptr},
    {"BoatModernEnglish-audio-text-unpack20.rar", "BoatModernEnglish.wav", nullptr, true, 56464,
     "expected/BoatModernEnglish.wav", nullptr},
    {"BoatModernEnglish-audio-text-unpack20.rar", "LICENSE.txt", nullptr, true, 107, nullptr, nullptr},
    {"BoatModernEnglish-regular-unpack20.rar", "BoatModernEnglish.wav", nullptr, true, 56464,
     "expected/BoatModernEnglish.wav", nullptr},
    {"BoatModernEnglish-regular-unpack20.rar", "LICENSE.txt", nullptr, true, 107, nullptr, nullptr},
    {"BoatModernEnglish-regular-unpack15-win.rar", "BoatModernEnglish.wav", nullptr, false, 0, nullptr,
     "CRC32 error - file couldn't be decompressed correctly!"},
    {"BoatModernEnglish-regular-unpack15-win.rar", "LICENSE.txt", nullptr, false, 0, nullptr,
     "CRC32 error - file couldn't be decompressed correctly!"},
    {"Rar2.rar", "exe", nullptr, true, 0, nullptr, nullptr},
    {"Rar2.rar", "jpg", nullptr, true, 0, nullptr, nullptr},
    {"Rar2.rar", "exe\\test.exe", nullptr, true, 45056, nullptr, nullptr},
    {"Rar2.rar", "exe/test.exe", nullptr, true, 45056, nullptr, nullptr},
    {"Rar2.rar", "JPG\\TEST.JPG", nullptr, true, 40372, nullptr, nullptr},
    {"Rar2.rar", "????.txt", nullptr, true, 15498, nullptr, nullptr},
    {"Rar2.multi.rar", "exe\\test.exe", nullptr, false, 0, nullptr,
     "CRC32 error - file couldn't be decompressed correctly!"},
    {"rar20-password-compressed.rar", "SECRET.TXT", "password", true, 87, nullptr, nullptr},
    {"rar20-password-stored.rar", "SECRET.TXT", "password", true, 87, nullptr, nullptr},
    {"rar20-password-compressed.rar", "SECRET.TXT", nullptr, false, 0, nullptr,
     "CRC32 error - file couldn't be decompressed correctly!"},
    {"rar20-password-stored.rar", "SECRET.TXT", "", false, 0, nullptr,
     "CRC32 error - file couldn't be decompressed correctly!"},
    {"rar20-password-stored.rar", "SECRET.TXT", "wrong", false, 0, nullptr,
     "CRC32 error - file couldn't be decompressed correctly!"},
    {"rar15-password-compressed.rar", "SECRET.TXT", "password", false, 0, nullptr,
     "CRC32 error - file couldn't be decompressed correctly!"},
    {"rar15-password-stored.rar", "SECRET.TXT", "password", false, 0, nullptr,
     "CRC32 error - file couldn't be decompressed correctly!"},
    {"rar15-comment.rar", "FILE2.TXT", nullptr, true, 8, nullptr, nullptr},
    {"rar15-comment.rar", "FILE1.TXT", nullptr, false, 0, nullptr,
     "CRC32 error - file couldn't be decompressed correctly!"},
    {"rar202-comment-nopsw.rar", "FILE1.TXT", nullptr, true, 7, nullptr, nullptr},
    {"rar202-comment-nopsw.rar", "FILE2.TXT", nullptr, true, 7, nullptr, nullptr},
    {"rar2-unix-owner.rar", "file.txt", nullptr, true, 4, nullptr, nullptr},
    {"rar2-unix-owner.rar", "missing.txt", nullptr, false, 0, nullptr, "Sorry, sub-headers not supported."},
    {"seektest.rar", "stest1.txt", nullptr, false, 0, nullptr, "unknown compression method"},
    {"seektest.rar", "stest2.txt", nullptr, true, 2048, nullptr, nullptr},
    {"rar3-solid.rar", "stest2.txt", nullptr, false, 0, nullptr, "unknown compression method"},
    {"rar5-solid.rar", "stest1.txt", nullptr, false, 0, nullptr, "Not a RAR file"},
    {"rar14-password-stored.rar", "x", "password", false, 0, nullptr, "Not a RAR file"},
    {"rar14-empty.rar", "x", nullptr, false, 0, nullptr, "Not a RAR file"},
    {"crafted/mac-subblock.rar", "file2.txt", nullptr, false, 0, nullptr, "Sorry, sub-headers not supported."},
    {"crafted/void-dist-v20.rar", "void20", nullptr, false, 0, nullptr,
     "CRC32 error - file couldn't be decompressed correctly!"},
    {"no-such-archive.rar", "x", nullptr, false, 0, nullptr, "Error opening file."},
};

// The reason stands in the entry logged just before the failure line, which is the last.
std::string reasonOf()
{
    const std::string log = debugLog();
    const std::string marker = "\n              - ";
    std::vector<std::string> messages;
    for (std::size_t at = log.find(marker); at != std::string::npos; at = log.find(marker, at + 1)) {
        const std::size_t start = at + marker.size();
        messages.push_back(log.substr(start, log.find('\n', start) - start));
    }
    return messages.size() >= 2 ? messages[messages.size() - 2] : std::string();
}

class FixtureTest : public ::testing::TestWithParam<FixtureCase> {};

TEST_P(FixtureTest, ExtractsOrRefusesWithItsReason)
{
    const FixtureCase& c = GetParam();
    const Extraction e = extract(fixture(c.archive), c.member, c.password);
    ASSERT_EQ(e.result, c.ok ? 1 : 0) << c.archive << " " << c.member << ": " << e.lastMessage;
    if (c.ok) {
        EXPECT_EQ(e.bytes.size(), c.size);
        if (c.expectedFile) EXPECT_TRUE(e.bytes == readFile(fixture(c.expectedFile)));
    } else {
        EXPECT_EQ(reasonOf(), c.lastMessage);
    }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, FixtureTest, ::testing::ValuesIn(cases));

TEST(Fixtures, SecretTextDecipheredFromBothArchives)
{
    const Extraction stored = extract(fixture("rar20-password-stored.rar"), "secret.txt", "password");
    const Extraction packed = extract(fixture("rar20-password-compressed.rar"), "SECRET.TXT", "password");
    ASSERT_EQ(stored.result, 1);
    ASSERT_EQ(packed.result, 1);
    EXPECT_EQ(stored.bytes, packed.bytes);
}

TEST(Fixtures, CommentedArchiveMembersHaveTheirText)
{
    const Extraction one = extract(fixture("rar202-comment-nopsw.rar"), "FILE1.TXT");
    const Extraction two = extract(fixture("rar202-comment-nopsw.rar"), "file2.txt");
    EXPECT_EQ(std::string(one.bytes.begin(), one.bytes.end()), "file1\r\n");
    EXPECT_EQ(std::string(two.bytes.begin(), two.bytes.end()), "file2\r\n");
    const Extraction unix = extract(fixture("rar2-unix-owner.rar"), "file.txt");
    EXPECT_EQ(std::string(unix.bytes.begin(), unix.bytes.end()), "foo\n");
}

TEST(Fixtures, OldCipherIsNamedInTheLog)
{
    extract(fixture("rar15-password-stored.rar"), "SECRET.TXT", "password");
    const std::string log = debugLog();
    const std::size_t call = log.rfind("Extracting >SECRET.TXT<");
    EXPECT_NE(log.find("- Old Crypt() not supported!", call), std::string::npos);
}

TEST(Fixtures, ArchiveMarkersAreNamedInTheLog)
{
    for (const char* name : {"rar14-empty.rar", "rar5-solid.rar"}) {
        extract(fixture(name), "x");
        const std::string log = debugLog();
        const std::string lastCall = log.substr(log.rfind("Extracting >x<"));
        const bool old = std::string(name) == "rar14-empty.rar";
        EXPECT_NE(lastCall.find(old ? "- Attention: format as OLD detected! Can't handel archive!"
                                    : "- unknown archive type (only plain RAR supported (normal and solid "
                                      "archives), SFX and Volumes are NOT supported!)"),
                  std::string::npos)
            << name;
    }
}

TEST(Fixtures, BrokenHeaderCrcIsOnlyLogged)
{
    const Extraction e = extract(fixture("seektest.rar"), "stest2.txt");
    ASSERT_EQ(e.result, 1);
    const std::string log = debugLog();
    EXPECT_NE(log.find("- file header broken", log.rfind("Extracting >stest2.txt<")), std::string::npos);
}

}  // namespace
