// The capture's pure output helpers: y4m frames, frame choice, report fields and the
// progress line.
#include <gtest/gtest.h>

#include "tools/capture/frames.h"
#include "tools/capture/progress.h"
#include "tools/capture/report.h"
#include "tools/capture/y4m.h"

namespace {

TEST(Y4m, HeaderCarriesSizeAndExactRate)
{
    EXPECT_EQ(y4mHeader(1280, 960, 60000, 1001),
              "YUV4MPEG2 W1280 H960 F60000:1001 Ip A1:1 C420jpeg XCOLORRANGE=LIMITED\n");
}

// A 4 x 2 picture: left block red, right block blue; top row first, so a flipped or
// channel-swapped conversion shows in the planes.
TEST(Y4m, RedBesideBlueKeepsItsPlacesAndChannels)
{
    const std::uint8_t red[4] = {255, 0, 0, 255}, blue[4] = {0, 0, 255, 255};
    std::vector<std::uint8_t> rgba;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) {
            const std::uint8_t* p = x < 2 ? red : blue;
            rgba.insert(rgba.end(), p, p + 4);
        }
    std::vector<std::uint8_t> frame;
    y4mFrame(rgba.data(), 4, 2, frame);
    const std::string marker = "FRAME\n";
    ASSERT_EQ(frame.size(), marker.size() + 8 + 2 + 2);
    EXPECT_EQ(std::string(frame.begin(), frame.begin() + 6), marker);
    const std::uint8_t* planes = frame.data() + marker.size();
    std::vector<int> luma(planes, planes + 8), cb(planes + 8, planes + 10), cr(planes + 10, planes + 12);
    EXPECT_EQ(luma, (std::vector<int>{82, 82, 41, 41, 82, 82, 41, 41}));
    EXPECT_EQ(cb, (std::vector<int>{90, 240}));
    EXPECT_EQ(cr, (std::vector<int>{240, 110}));
}

TEST(Y4m, BlackIsStudioBlack)
{
    std::vector<std::uint8_t> rgba(2 * 2 * 4, 0), frame;
    y4mFrame(rgba.data(), 2, 2, frame);
    EXPECT_EQ(std::vector<int>(frame.begin() + 6, frame.end()), (std::vector<int>{16, 16, 16, 16, 128, 128}));
}

TEST(FrameChoice, AskedTimesAndEveryKth)
{
    struct Case {
        const char* name;
        std::vector<double> times;
        int every;
        std::vector<std::uint64_t> expected;
    } cases[] = {
        {"nothing asked: every frame", {}, 0, {0, 1, 2, 3, 4, 5, 6, 7}},
        {"every third", {}, 3, {0, 3, 6}},
        {"times, unordered, two in one frame", {0.5, 0.0, 0.45, 9.0}, 0, {0, 2}},
        {"both", {0.3}, 4, {0, 2, 4}},
    };
    for (const Case& c : cases) {
        FrameSelector selector(c.times, c.every);
        std::vector<std::uint64_t> taken;
        for (std::uint64_t frame = 0; frame < 8; ++frame)
            if (selector.take(frame, double(frame) * 0.25)) taken.push_back(frame);
        EXPECT_EQ(taken, c.expected) << c.name;
    }
    FrameSelector late({9.0, 0.5}, 0);
    for (std::uint64_t frame = 0; frame < 8; ++frame) late.take(frame, double(frame) * 0.25);
    EXPECT_EQ(late.unreached(), std::vector<double>{9.0});
}

TEST(Report, FieldsStayOnOneLine)
{
    EXPECT_EQ(escapeReportField("a\tb\nc\\d\r"), "a\\tb\\nc\\\\d\\r");
    EXPECT_EQ(escapeReportField("FATAL MARLU"), "FATAL MARLU");
}

TEST(Progress, ShowsTimeLeftWhenTheEndIsKnown)
{
    EXPECT_EQ(progressLine(15, 60, 10, 900),
              "    15.0 / 60.0 s [#######.......................]  25%  90 fps  left 0:30");
    EXPECT_EQ(progressLine(15, -1, 10, 900), "    15.0 s  900 frames  90 fps");
    EXPECT_NE(progressLine(0, 60, 0, 0).find("left ?"), std::string::npos);
}

}  // namespace
