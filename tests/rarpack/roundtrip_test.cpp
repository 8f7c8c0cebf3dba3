// Round trips: whatever the packer writes, the show's reader must give back
// byte for byte, member by member, each in a call of its own.
#include "support.h"

#include <gtest/gtest.h>

namespace rarpack::test {
namespace {

struct Case {
    const char* name;
    Bytes data;
};

std::vector<Case> formatCases()
{
    Bytes runs;
    for (int i = 0; i < 40; ++i) runs.insert(runs.end(), 1000 + 37 * i, static_cast<std::uint8_t>(i * 7));
    // More than the window: positions wrap, and matches reach 900 KB and 200 KB back.
    Bytes wrap = randomBytes(600000, 3);
    const Bytes prose = text(300000, 4);
    wrap.insert(wrap.end(), prose.begin(), prose.end());
    const Bytes head(wrap.begin(), wrap.begin() + 400000);
    wrap.insert(wrap.end(), head.begin(), head.end());
    const Bytes tail = randomBytes(200000, 5);
    wrap.insert(wrap.end(), tail.begin(), tail.end());
    wrap.insert(wrap.end(), tail.begin(), tail.end());
    return {{"empty.bin", {}},
            {"one.bin", {0x42}},
            {"three.bin", {1, 2, 3}},
            {"text.txt", text(100000, 1)},
            {"random.bin", randomBytes(50000, 2)},
            {"runs.bin", runs},
            {"wrap.bin", wrap},
            {"samples8.raw", samples(60000, 1, 1, 5)},
            {"samples16.raw", samples(30000, 2, 2, 6)}};
}

void expectRoundTrip(const std::vector<Case>& cases, const PackOptions& options)
{
    ScratchDir dir;
    std::vector<Member> members;
    for (const Case& c : cases) members.push_back({c.name, c.data});
    const std::string archive = packToFile(dir, members, options);
    ASSERT_FALSE(archive.empty());
    const char* password = options.password.empty() ? nullptr : options.password.c_str();
    for (const Case& c : cases) {
        const auto out = extract(archive, c.name, password);
        ASSERT_TRUE(out.has_value()) << c.name;
        EXPECT_TRUE(*out == c.data) << c.name << ": contents differ";
    }
}

struct Mode {
    const char* label;
    bool solid;
    const char* password;
    int effort;
    bool store;
};

class RoundTrip : public ::testing::TestWithParam<Mode> {};

TEST_P(RoundTrip, EveryMemberComesBackOnItsOwn)
{
    const Mode m = GetParam();
    PackOptions options;
    options.solid = m.solid;
    options.password = m.password;
    options.effort = m.effort;
    options.storeOnly = m.store;
    expectRoundTrip(formatCases(), options);
}

INSTANTIATE_TEST_SUITE_P(Modes, RoundTrip,
                         ::testing::Values(Mode{"normal", false, "", 6, false},
                                           Mode{"solid", true, "", 6, false},
                                           Mode{"encrypted", false, "gletscha", 6, false},
                                           Mode{"solidEncrypted", true, "gletscha", 6, false},
                                           Mode{"fastest", true, "", 1, false},
                                           Mode{"best", false, "x", 9, false},
                                           Mode{"stored", true, "a password of twenty c", 6, true}),
                         [](const auto& info) { return std::string(info.param.label); });

// Many short files end with every possible amount of cipher padding: whatever the
// decoder reads past the end of one must not change the tables the next continues with.
TEST(RoundTrip, FileEndsLeaveTheSolidStreamIntact)
{
    for (const char* password : {"", "gletscha"}) {
        std::vector<Case> cases;
        for (int i = 0; i < 40; ++i)
            cases.push_back({nullptr, text(static_cast<std::size_t>(20 + 7 * i), 100 + i)});
        std::vector<std::string> names;
        for (std::size_t i = 0; i < cases.size(); ++i) names.push_back("part" + std::to_string(i) + ".txt");
        for (std::size_t i = 0; i < cases.size(); ++i) cases[i].name = names[i].c_str();
        PackOptions options;
        options.solid = true;
        options.password = password;
        expectRoundTrip(cases, options);
    }
}

// A stored member inside a solid stream isn't part of the decoder's history, so a
// later member that repeats it must not be coded as a match into it.
TEST(RoundTrip, StoredMemberInSolidStreamIsNoHistory)
{
    const Bytes noise = randomBytes(5000, 9);
    Bytes again = text(3000, 8);
    again.insert(again.end(), noise.begin(), noise.end());
    again.insert(again.end(), noise.begin(), noise.end());
    expectRoundTrip({{"a.txt", text(20000, 7)}, {"noise.bin", noise}, {"again.bin", again}},
                    PackOptions{"", true, false, 6});
}

// Mode switches across file boundaries: audio, then text, then audio with another
// channel count, in one solid stream.
TEST(RoundTrip, ModeSwitchesAcrossSolidFiles)
{
    expectRoundTrip({{"a.raw", samples(40000, 1, 1, 1)},
                     {"b.txt", text(30000, 2)},
                     {"c.raw", samples(20000, 3, 1, 3)},
                     {"d.raw", samples(20000, 2, 2, 4)},
                     {"e.txt", text(30000, 2)}},
                    PackOptions{"pw", true, false, 6});
}

struct AudioCase {
    const char* label;
    int channels, bytesPerSample;
};

class AudioMode : public ::testing::TestWithParam<AudioCase> {};

TEST_P(AudioMode, SampleDataIsCodedAsAudio)
{
    const AudioCase c = GetParam();
    const Bytes data = samples(80000 / (c.channels * c.bytesPerSample), c.channels, c.bytesPerSample, 11);
    std::vector<MemberReport> reports;
    ScratchDir dir;
    const std::string archive = packToFile(dir, {{"sound.raw", data}}, PackOptions{}, &reports);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_GT(reports[0].audioBytes, data.size() / 2) << "audio mode was not chosen";
    EXPECT_LT(reports[0].packedSize, data.size() * 3 / 4);
    EXPECT_TRUE(extract(archive, "sound.raw", nullptr) == data);
}

INSTANTIATE_TEST_SUITE_P(Samples, AudioMode,
                         ::testing::Values(AudioCase{"mono8", 1, 1}, AudioCase{"stereo8", 2, 1},
                                           AudioCase{"mono16", 1, 2}, AudioCase{"stereo16", 2, 2}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(RoundTrip, IncompressibleDataIsStored)
{
    std::vector<MemberReport> reports;
    ScratchDir dir;
    packToFile(dir, {{"noise.bin", randomBytes(10000, 1)}, {"t.txt", text(10000, 1)}}, PackOptions{},
               &reports);
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_TRUE(reports[0].stored);
    EXPECT_FALSE(reports[1].stored);
}

TEST(RoundTrip, WrongPasswordFailsTheCrcCheck)
{
    ScratchDir dir;
    const std::string archive = packToFile(dir, {{"a.txt", text(5000, 1)}, {"b.bin", randomBytes(100, 2)}},
                                           PackOptions{"right", false, false, 6});
    for (const char* name : {"a.txt", "b.bin"}) {
        EXPECT_FALSE(extract(archive, name, "wrong").has_value()) << name;
        const std::string log = readerLog();
        const std::size_t call = log.rfind(std::string("Extracting >") + name);
        ASSERT_NE(call, std::string::npos);
        EXPECT_NE(log.find("CRC32 error", call), std::string::npos) << name;
        EXPECT_FALSE(extract(archive, name, nullptr).has_value()) << name;
    }
    EXPECT_TRUE(extract(archive, "a.txt", "right").has_value());
}

}  // namespace
}  // namespace rarpack::test
