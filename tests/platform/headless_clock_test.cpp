// The headless back end's virtual counter.
#include <gtest/gtest.h>

#include "platform/headless.h"
#include "platform/platform.h"

namespace {

headless::Config rate(std::int64_t perSecond, std::int64_t perFrame)
{
    headless::Config config;
    config.ticksPerSecond = perSecond;
    config.ticksPerFrame = perFrame;
    return config;
}

TEST(HeadlessClock, AdvancesOneStepPerSwapAfterOnSwap)
{
    headless::Config config = rate(60, 1);
    std::vector<std::pair<std::uint64_t, std::int64_t>> seen;
    config.onSwap = [&](std::uint64_t frame) { seen.push_back({frame, platform::counterNow()}); };
    headless::configure(config);
    EXPECT_EQ(platform::counterFrequency(), 60);
    EXPECT_EQ(platform::counterNow(), 0);
    platform::swapBuffers();
    platform::swapBuffers();
    EXPECT_EQ(platform::counterNow(), 2);
    EXPECT_EQ(headless::framesSwapped(), 2u);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], std::make_pair(std::uint64_t(0), std::int64_t(0)));  // the frame drawn before the step
    EXPECT_EQ(seen[1], std::make_pair(std::uint64_t(1), std::int64_t(1)));
    headless::configure({});
}

// Time 0 is the first counter reading, not the start of the process: swaps made
// before it (the black picture at start-up) do not count.
TEST(HeadlessClock, TimeZeroIsTheFirstReading)
{
    headless::configure(rate(60, 1));
    platform::swapBuffers();
    platform::swapBuffers();
    EXPECT_EQ(headless::clockSeconds(), 0.0);
    const std::int64_t start = platform::counterNow();
    EXPECT_EQ(start, 2);
    for (int i = 0; i < 30; ++i) platform::swapBuffers();
    EXPECT_EQ(headless::clockSeconds(), 0.5);
    EXPECT_EQ(platform::counterNow() - start, 30);
    headless::configure({});
}

// 60000/1001 frames per second over ten minutes: every reading is exact, so the
// program's (now - start) / frequency never drifts from frames x 1001 / 60000.
TEST(HeadlessClock, RationalRateHasNoDrift)
{
    headless::configure(rate(60000, 1001));
    const std::int64_t start = platform::counterNow();
    const int frames = 35964;  // 600 s x 60000 / 1001, rounded down
    for (int i = 0; i < frames; ++i) platform::swapBuffers();
    EXPECT_EQ(platform::counterNow() - start, std::int64_t(frames) * 1001);
    EXPECT_DOUBLE_EQ(headless::clockSeconds(), double(frames) * 1001 / 60000);
    EXPECT_EQ(platform::tickCount(), std::uint32_t(std::int64_t(frames) * 1001 * 1000 / 60000));
    headless::configure({});
}

TEST(HeadlessClock, NonsenseRatesFallBackToDefaults)
{
    headless::configure(rate(0, -3));
    EXPECT_EQ(platform::counterFrequency(), 60);
    platform::counterNow();
    platform::swapBuffers();
    EXPECT_EQ(platform::counterNow(), 1);
    headless::configure({});
}

}  // namespace
