// The clock: deltas from the counter, total time as a running 32-bit sum.
#include <gtest/gtest.h>

#include "app/clock.h"
#include "support/fake_platform.h"

namespace {

class ClockTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fakePlatform = FakePlatform{};
        clockState = ClockState{};
    }
};

TEST_F(ClockTest, FirstUpdateGivesTimeSinceStart)
{
    fakePlatform.frequency = 1000;
    fakePlatform.counter = 5000;
    startClock();
    fakePlatform.counter = 5250;
    updateClock();
    EXPECT_FLOAT_EQ(frameDelta(), 0.25f);
    EXPECT_FLOAT_EQ(totalTime(), 0.25f);
}

// A step that has no exact float form makes the sum drift from a fresh reading of
// the counter; the program's timing is the drifted sum.
TEST_F(ClockTest, TotalTimeAccumulatesStoredDeltasIn32Bits)
{
    fakePlatform.frequency = 60000;
    startClock();
    float previous = 0.0f, expectedTotal = 0.0f;
    for (int frame = 1; frame <= 100000; ++frame) {
        fakePlatform.counter += 1001;
        updateClock();
        double seconds = static_cast<double>(fakePlatform.counter) / 60000.0;
        float delta = static_cast<float>(seconds - previous);
        previous = static_cast<float>(seconds);
        expectedTotal = expectedTotal + delta;
        ASSERT_EQ(frameDelta(), delta) << "frame " << frame;
        ASSERT_EQ(totalTime(), expectedTotal) << "frame " << frame;
    }
    double exact = 100000.0 * 1001.0 / 60000.0;
    EXPECT_NE(static_cast<double>(totalTime()), exact);
    EXPECT_NEAR(totalTime(), exact, 0.5);
}

}  // namespace
