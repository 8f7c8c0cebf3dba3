// The entry's start-up and teardown order, on the device-free platform with the
// other areas' steps replaced by recording stand-ins.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/clock.h"
#include "app/input.h"
#include "support/fake_platform.h"
#include "tests/main/entry_seams.h"

namespace {

using Calls = std::vector<std::string>;

// The calls that make up the life cycle, without the per-turn platform calls.
Calls lifeCycle(bool withQuit = true)
{
    static const Calls steps = {"registerWindowClass",
                                "swapBuffers",
                                "enterArchiveFolder",
                                "extractMediaSet",
                                "Show",
                                "startMusic",
                                "deleteMediaSet",
                                "render",
                                "stopMusic",
                                "~Show",
                                "destroyGlContext",
                                "destroyWindow",
                                "postQuitMessage"};
    Calls out;
    for (const std::string& call : fakePlatform.calls)
        if (std::find(steps.begin(), steps.end(), call) != steps.end() &&
            (withQuit || call != "postQuitMessage"))
            out.push_back(call);
    return out;
}

class EntryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fakePlatform = FakePlatform{};
        fakePlatform.frequency = 60;
        entrySeams = EntrySeams{};
        clockState = ClockState{};
        input = InputState{};
    }
};

TEST_F(EntryTest, StartsUpRunsAndTearsDownInOrder)
{
    fakePlatform.ticksPerSwap = 1;
    fakePlatform.onSwap = [] {
        if (fakePlatform.swaps == 4) platform::postQuitMessage(0);
    };
    EXPECT_EQ(platform::programEntry(), 0);
    Calls expected = {"registerWindowClass",
                      "swapBuffers",
                      "enterArchiveFolder",  // the archive's folder, before anything is written
                      "extractMediaSet",
                      "Show",
                      "startMusic",
                      "deleteMediaSet",
                      "swapBuffers",  // total time 0: the show is not due yet
                      "render",
                      "swapBuffers",
                      "render",
                      "swapBuffers",
                      "postQuitMessage",
                      "render",
                      "swapBuffers",  // the quit's turn still draws
                      "stopMusic",
                      "~Show",
                      "destroyGlContext",
                      "destroyWindow"};
    EXPECT_EQ(lifeCycle(), expected);
    ASSERT_EQ(entrySeams.renderedLocalTimes.size(), 3u);
    EXPECT_FLOAT_EQ(entrySeams.renderedLocalTimes.back(), 3.0f / 60.0f);
    EXPECT_TRUE(fakePlatform.cursorVisible) << "the display is given back with the cursor";
}

// A failing start-up step posts the quit message; start-up still runs to its end,
// the loop then ends without drawing, and teardown runs as usual.
TEST_F(EntryTest, QuitDuringStartUpStillFinishesStartUpAndDrawsNothing)
{
    for (const char* failing : {"extractMediaSet", "Show", "startMusic"}) {
        SetUp();
        entrySeams.quitAt = failing;
        EXPECT_EQ(platform::programEntry(), 0) << failing;
        Calls expected = {"registerWindowClass", "swapBuffers",  "enterArchiveFolder",
                          "extractMediaSet",     "Show",         "startMusic",
                          "deleteMediaSet",      "stopMusic",    "~Show",
                          "destroyGlContext",    "destroyWindow"};
        EXPECT_EQ(lifeCycle(false), expected) << failing;
        EXPECT_EQ(callIndex("postQuitMessage"), callIndex(failing) + 1) << failing;
        EXPECT_EQ(fakePlatform.swaps, 1) << failing << ": only the black start-up frame";
    }
}

TEST_F(EntryTest, FailedWindowEndsBeforeAnythingIsExtracted)
{
    fakePlatform.failDisplayMode = true;
    fakePlatform.answer = platform::Answer::No;
    EXPECT_EQ(platform::programEntry(), 0);
    EXPECT_EQ(callIndex("enterArchiveFolder"), -1);
    EXPECT_EQ(callIndex("extractMediaSet"), -1);
    EXPECT_EQ(callIndex("Show"), -1);
    EXPECT_EQ(callIndex("stopMusic"), -1);
    ASSERT_EQ(fakePlatform.boxes.size(), 1u);
    EXPECT_EQ(fakePlatform.boxes[0].text, "ERROR! windowed instead?");
}

TEST_F(EntryTest, ShowRunsFromZeroToOneDayOfClockTime)
{
    fakePlatform.ticksPerSwap = 86400 * 60 / 2;  // half a day per frame
    fakePlatform.onSwap = [] {
        if (fakePlatform.swaps == 5) platform::postQuitMessage(0);
    };
    platform::programEntry();
    // Frames at 0 (not due), half a day (due), one day (equal to the end), a day and
    // a half and two days: the loop goes on swapping with nothing due.
    EXPECT_EQ(entrySeams.renderedLocalTimes.size(), 1u);
    EXPECT_EQ(fakePlatform.swaps, 1 + 5);
}

}  // namespace
