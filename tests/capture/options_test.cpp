// Command-line parsing of the capture command.
#include <gtest/gtest.h>

#include "tools/capture/options.h"

namespace {

bool parse(std::vector<std::string> args, CaptureOptions& options, std::string& error)
{
    return parseOptions(args, options, error);
}

TEST(CaptureOptions, FrameRates)
{
    struct Case {
        const char* text;
        bool ok;
        std::int64_t perSecond, perFrame;
    } cases[] = {
        {"60", true, 60, 1},        {"60000/1001", true, 60000, 1001},
        {"29.97", true, 2997, 100}, {"120/2", true, 60, 1},
        {"25.0", true, 25, 1},      {"0", false, 0, 0},
        {"60/0", false, 0, 0},      {"-60", false, 0, 0},
        {"60/", false, 0, 0},       {"/1001", false, 0, 0},
        {"1.", false, 0, 0},        {"abc", false, 0, 0},
        {"1e3", false, 0, 0},       {"99999999999999999999", false, 0, 0},
        {"2000000", false, 0, 0},   {"0.0000001", false, 0, 0},
    };
    for (const Case& c : cases) {
        FrameRate rate;
        EXPECT_EQ(parseFrameRate(c.text, rate), c.ok) << c.text;
        if (!c.ok) continue;
        EXPECT_EQ(rate.ticksPerSecond, c.perSecond) << c.text;
        EXPECT_EQ(rate.ticksPerFrame, c.perFrame) << c.text;
    }
}

TEST(CaptureOptions, AFullCommandLine)
{
    CaptureOptions o;
    std::string error;
    ASSERT_TRUE(parse({"--dir", "d",       "--fps=30", "--seconds", "12.5",    "--input", "s.txt", "--scale",
                       "2",     "--png",   "p",        "--at",      "1,0.5,3", "--every", "10",    "--video",
                       "v.mkv", "--audio", "a.wav",    "--report",  "r.txt",   "--quiet"},
                      o, error))
        << error;
    EXPECT_EQ(o.dir, "d");
    EXPECT_EQ(o.fps.ticksPerSecond, 30);
    EXPECT_EQ(o.seconds, 12.5);
    EXPECT_EQ(o.inputPath, "s.txt");
    EXPECT_EQ(o.scale, 2);
    EXPECT_EQ(o.pngAt, (std::vector<double>{1, 0.5, 3}));
    EXPECT_EQ(o.pngEvery, 10);
    EXPECT_EQ(o.videoPath, "v.mkv");
    EXPECT_EQ(o.audioPath, "a.wav");
    EXPECT_EQ(o.reportPath, "r.txt");
    EXPECT_TRUE(o.quiet);
}

TEST(CaptureOptions, MistakesAreNamed)
{
    struct Case {
        std::vector<std::string> args;
        const char* error;
    } cases[] = {
        {{"--fps", "0"}, "--fps: '0' is not a valid value"},
        {{"--seconds"}, "--seconds needs a value"},
        {{"--seconds", "-1"}, "--seconds: '-1' is not a valid value"},
        {{"--seconds="}, "--seconds needs a value"},
        {{"--scale", "9"}, "--scale: '9' is not a valid value"},
        {{"--at", "1,,2", "--png", "p"}, "--at: '1,,2' is not a valid value"},
        {{"--at", "1"}, "--at and --every choose frames for --png; give --png DIR too"},
        {{"--every", "0", "--png", "p"}, "--every: '0' is not a valid value"},
        {{"--video", "v.avi"}, "--video: 'v.avi' must end in .y4m, .mp4 or .mkv"},
        {{"--audio", "a.mp3"}, "--audio: 'a.mp3' must end in .wav"},
        {{"--colour", "x"}, "unknown option --colour"},
        {{"stray"}, "unexpected argument stray"},
    };
    for (const Case& c : cases) {
        CaptureOptions o;
        std::string error;
        EXPECT_FALSE(parse(c.args, o, error)) << c.error;
        EXPECT_EQ(error, c.error);
    }
}

TEST(CaptureOptions, HelpWinsOverEverythingAfterIt)
{
    CaptureOptions o;
    std::string error;
    EXPECT_TRUE(parse({"--help", "--bogus"}, o, error));
    EXPECT_TRUE(o.help);
}

}  // namespace
