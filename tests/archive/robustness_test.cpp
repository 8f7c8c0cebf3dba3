// Damaged archives: every fixture cut short at many places and with bits flipped.
// Every call must end with 0 or 1: no crash, no hang, nothing out of bounds (run
// it under the sanitizers). ZW_ARCHIVE_FUZZ_ROUNDS=n multiplies the mutations.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "test_archive.h"

using namespace testrar;

namespace {

struct Target {
    const char* archive;
    const char* member;
    const char* password;
};

const Target targets[] = {
    {"test_v2.rar", "pMM.bin", nullptr},
    {"test_v2solid5.rar", "p5_solid.bin", nullptr},
    {"mm.rar", "1.M", nullptr},
    {"BoatModernEnglish-audio-text-unpack20.rar", "BoatModernEnglish.wav", nullptr},
    {"BoatModernEnglish-regular-unpack20.rar", "LICENSE.txt", nullptr},
    {"Rar2.rar", "jpg\\test.jpg", nullptr},
    {"rar20-password-compressed.rar", "SECRET.TXT", "password"},
    {"rar20-password-stored.rar", "SECRET.TXT", "password"},
    {"rar15-comment.rar", "FILE2.TXT", nullptr},
    {"rar202-comment-nopsw.rar", "FILE2.TXT", nullptr},
    {"rar2-unix-owner.rar", "file.txt", nullptr},
    {"seektest.rar", "stest2.txt", nullptr},
    {"rar3-solid.rar", "stest2.txt", nullptr},
    {"rar14-empty.rar", "x", nullptr},
    {"crafted/mac-subblock.rar", "file2.txt", nullptr},
    {"crafted/void-dist-v20.rar", "void20", nullptr},
    {"crafted/v20-solid-negative-backref.rar", "f1", nullptr},
};

struct Random {
    std::uint32_t state;
    std::uint32_t next(std::uint32_t bound)
    {
        return ((state = state * 1664525u + 1013904223u) >> 8) % bound;
    }
};

int rounds()
{
    const char* env = std::getenv("ZW_ARCHIVE_FUZZ_ROUNDS");
    return env ? std::max(1, std::atoi(env)) : 1;
}

void expectCleanResult(const Bytes& damaged, const Target& t, const std::string& what)
{
    const std::string path = saveArchive("damaged.rar", damaged);
    for (const char* name : {t.member, "not-in-there"}) {
        const Extraction e = extract(path, name, t.password);
        ASSERT_TRUE(e.result == 0 || e.result == 1) << t.archive << " " << what;
    }
}

TEST(Robustness, TruncatedArchives)
{
    for (const Target& t : targets) {
        const Bytes original = readFile(fixture(t.archive));
        ASSERT_FALSE(original.empty()) << t.archive;
        const std::size_t steps = 24 * std::size_t(rounds());
        for (std::size_t i = 0; i <= steps; ++i) {
            // Dense over the headers, then spread over the data.
            const std::size_t cut =
                i < steps / 2 ? i * 3 : original.size() * (i - steps / 2) / (steps / 2 + 1);
            if (cut >= original.size()) continue;
            expectCleanResult(Bytes(original.begin(), original.begin() + long(cut)), t,
                              "cut at " + std::to_string(cut));
        }
    }
}

TEST(Robustness, FlippedBits)
{
    Random random{12345};
    for (const Target& t : targets) {
        const Bytes original = readFile(fixture(t.archive));
        for (int i = 0; i < 40 * rounds(); ++i) {
            Bytes damaged = original;
            const std::size_t span = i % 2 ? damaged.size() : std::min<std::size_t>(damaged.size(), 96);
            for (int flips = 1 + int(random.next(3)); flips > 0; --flips)
                damaged[random.next(std::uint32_t(span))] ^= std::uint8_t(1u << random.next(8));
            expectCleanResult(damaged, t, "flip round " + std::to_string(i));
        }
    }
}

// What one call made: its result, its bytes and the messages it logged.
struct Outcome {
    Extraction extraction;
    std::vector<std::string> messages;
    bool operator==(const Outcome& o) const
    {
        return extraction.result == o.extraction.result && extraction.bytes == o.extraction.bytes &&
               messages == o.messages;
    }
};

template <typename Call>
Outcome outcomeOf(Call call)
{
    Outcome o{call(), {}};
    o.messages = lastCallMessages();
    return o;
}

// A member cut inside its last cipher block: that block is deciphered from its own
// bytes and a fixed fill, never from what earlier reads left in the reader's
// buffers, so a call depends on its input alone.
TEST(Robustness, CutEncipheredMemberComesOutTheSameEveryTime)
{
    const std::string cut = fixture("cut-enciphered-81.rar");
    const auto takeCut = [&] { return extract(cut, "invitation.txt", "gletscha"); };
    const Outcome first = outcomeOf(takeCut);
    EXPECT_EQ(first.extraction.result, 0);
    for (int i = 0; i < 2; ++i) EXPECT_TRUE(outcomeOf(takeCut) == first) << "call " << i + 2;

    // Every cut of a small enciphered archive, taken after calls that leave other
    // bytes behind (the whole member deciphered with the right and a wrong password).
    const Bytes whole = readFile(fixture("rar20-password-compressed.rar"));
    for (std::size_t length = 0; length < whole.size(); ++length) {
        const Bytes image(whole.begin(), whole.begin() + long(length));
        Outcome taken[2];
        for (const char* before : {"password", "wrong"}) {
            extractImage(whole, "SECRET.TXT", before);
            taken[before[0] == 'w'] =
                outcomeOf([&] { return extractImage(image, "SECRET.TXT", "password"); });
        }
        EXPECT_TRUE(taken[0] == taken[1]) << "cut at " << length;
    }
}

}  // namespace
