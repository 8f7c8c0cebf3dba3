// Synthesis and the module writer: samples are deterministic, loops are seamless,
// notes sound at their pitch, and the written module loads and loops as scored.
#include "itfile.h"
#include "modcheck.h"
#include "score.h"
#include "synth.h"

#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.hpp>

#include <cmath>
#include <sstream>

namespace {

itw::Instrument recipe(const std::string& kind, std::map<std::string, double> params, const char* base = "c5")
{
    itw::Instrument ins;
    ins.name = kind;
    ins.kind = kind;
    ins.params = std::move(params);
    ins.baseNote = itw::parseNoteName(base);
    return ins;
}

TEST(Synth, SameRecipeSameSamples)
{
    itw::SampleData a, b;
    std::string error;
    ASSERT_TRUE(itw::synthesize(recipe("pluck", {}), a, error)) << error;
    ASSERT_TRUE(itw::synthesize(recipe("pluck", {}), b, error)) << error;
    EXPECT_EQ(a.pcm, b.pcm);
    EXPECT_EQ(a.loopStart, -1);
}

// The step from the loop's last sample back to its first is no bigger than the
// steps inside the loop: the wave goes on where it left off.
TEST(Synth, LoopsAreSeamless)
{
    for (const char* kind : {"acco", "pulse", "saw", "fm", "voice"}) {
        itw::SampleData s;
        std::string error;
        ASSERT_TRUE(itw::synthesize(recipe(kind, {{"len", 0.05}, {"loop", 0.5}}), s, error)) << error;
        ASSERT_GT(s.loopEnd, s.loopStart) << kind;
        EXPECT_EQ(size_t(s.loopEnd), s.pcm.size()) << kind;
        int largest = 0;
        for (int i = s.loopStart; i + 1 < s.loopEnd; ++i)
            largest = std::max(largest, std::abs(s.pcm[size_t(i) + 1] - s.pcm[size_t(i)]));
        int wrap = std::abs(s.pcm[size_t(s.loopStart)] - s.pcm[size_t(s.loopEnd) - 1]);
        EXPECT_LE(wrap, largest + largest / 4) << kind;
    }
}

TEST(Synth, BadRecipesAreRefused)
{
    struct Case {
        itw::Instrument ins;
        const char* message;
    };
    const Case cases[] = {
        {recipe("banjo", {}), "unknown instrument kind 'banjo'"},
        {recipe("pluck", {{"loop", 1}}), "unknown parameter 'loop' for kind 'pluck'"},
        {recipe("acco", {{"duty", 0.5}}), "unknown parameter 'duty' for kind 'acco'"},
        {recipe("acco", {{"vol", 65}}), "vol must lie between"},
        {recipe("kick", {{"len", 100}}), "len must lie between"},
        {recipe("saw", {{"voices", 500}}), "voices must lie between"},
        {recipe("kick", {{"sweep", 0}}), "sweep must lie between"},
    };
    for (const Case& c : cases) {
        itw::SampleData s;
        std::string error;
        EXPECT_FALSE(itw::synthesize(c.ins, s, error));
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
}

bool buildModule(const std::string& score, std::vector<uint8_t>& bytes, std::string& error)
{
    itw::Song song;
    itw::ScoreParser parser;
    if (!parser.parse(score, "t.score", song) || !parser.finish(song)) {
        error = parser.error();
        return false;
    }
    std::vector<itw::SampleData> samples(song.instruments.size());
    for (size_t i = 0; i < samples.size(); ++i)
        if (!itw::synthesize(song.instruments[i], samples[i], error)) return false;
    return itw::writeIt(song, samples, bytes, error);
}

// 8 rows a second: speed 6 at tempo 120 makes a row 0.125 s.
const char* testSong = "title test\nspeed 6\ntempo 120\n"
                       "instrument sq pulse base=a4 duty=0.5 len=0.01 loop=0.5\n"
                       "channel one sq\nchannel two sq pan=0\n"
                       "pattern intro 8\n  one a4 . . . . . . .\nend\n"
                       "pattern main 16\n  one a4 . . . . . . . . . . . . . . .\n  two step=16 c5\nend\n"
                       "order intro |: main main\n";

TEST(Writer, ModuleLoadsQuietlyAndLoopsToTheMark)
{
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(buildModule(testSong, bytes, error)) << error;
    itw::ModuleReport r = itw::checkModule(std::vector<char>(bytes.begin(), bytes.end()), 22050, 1);
    ASSERT_TRUE(r.loaded) << r.error;
    EXPECT_EQ(r.log, "");
    EXPECT_EQ(r.channels, 2);
    EXPECT_EQ(r.samples, 1);
    EXPECT_EQ(r.patterns, 3);  // the last "main" is copied to carry the jump
    EXPECT_NEAR(r.seconds, 1.0 + 2.0 + 2.0, 0.01);
    EXPECT_GT(r.peak, 0.05);

    std::ostringstream log;
    openmpt::module mod(bytes, log);
    mod.set_repeat_count(1);
    mod.set_position_seconds(4.9);
    std::vector<float> buf(2 * 22050);
    mod.read_interleaved_stereo(22050, 22050, buf.data());
    EXPECT_EQ(mod.get_current_order(), 1);  // back at "main", not at "intro"
}

TEST(Writer, NotesSoundAtTheirPitch)
{
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(buildModule(testSong, bytes, error)) << error;
    std::ostringstream log;
    openmpt::module mod(bytes, log);
    const int rate = 44100;
    std::vector<float> mono(rate / 2);  // the intro: a4 alone for 0.5 s
    mod.read(rate, mono.size(), mono.data());
    int crossings = 0;
    for (size_t i = rate / 20 + 1; i < mono.size(); ++i) crossings += (mono[i - 1] < 0) != (mono[i] < 0);
    double hz = crossings / 2.0 / (double(mono.size() - rate / 20) / rate);
    EXPECT_NEAR(hz, 220.0, 3.0);
}

TEST(Writer, NoFreeEffectColumnForTheJump)
{
    const std::string score = "instrument sq pulse loop=0.1\nchannel one sq\n"
                              "pattern a 1\n  one c5\nend\npattern b 1\n  one c5!A06\nend\norder a |: b\n";
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_FALSE(buildModule(score, bytes, error));
    EXPECT_NE(
        error.find("t.score:6: the last row of pattern 'b' has no free effect column for the loop jump"),
        std::string::npos)
        << error;
}

}  // namespace
