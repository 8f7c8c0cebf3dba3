// Pointer bands and scale, and the score line's text.
#include <gtest/gtest.h>

#include <string>

#include "hunt/pointer.h"

namespace {

std::string scoreLine(int dead, int alive)
{
    char line[128];
    formatScoreLine(dead, alive, line, sizeof line);
    return line;
}

TEST(ScoreLine, FormatsCountsAndRatio)
{
    struct Case {
        int dead, alive;
        const char* text;
    };
    const Case cases[] = {
        // First hunt frame: 0 / -1 is a negative zero, printed with its sign.
        {0, -1, "kill em all! - dead: 0 alive: -1 ratio: -0.00%"},
        {3, 1, "kill em all! - dead: 3 alive: 1 ratio: 75.00%"},
        {1, -1, "kill em all! - dead: 1 alive: -1 ratio: 0.00%"},
        {2, 1, "kill em all! - dead: 2 alive: 1 ratio: 66.67%"},
    };
    for (const Case& c : cases) EXPECT_EQ(scoreLine(c.dead, c.alive), c.text) << c.dead << "/" << c.alive;
}

TEST(ScoreLine, LongCountsAreCutNotOverrun)
{
    char line[20];
    formatScoreLine(2147483647, -2147483647, line, sizeof line);
    EXPECT_EQ(std::string(line), "kill em all! - dead");
}

TEST(PointerBands, RowsTwentyToFourHundredSixtyAreTheMiddle)
{
    EXPECT_EQ(pointerBandFor(19), PointerBand::Top);
    EXPECT_EQ(pointerBandFor(20), PointerBand::Middle);
    EXPECT_EQ(pointerBandFor(460), PointerBand::Middle);
    EXPECT_EQ(pointerBandFor(461), PointerBand::Bottom);
}

TEST(PointerScale, GrowsTurnsOverAndComesBack)
{
    // Grows from nothing in the middle band, a frame delta at a time.
    EXPECT_FLOAT_EQ(nextPointerScale(0.0f, PointerBand::Middle, 0.25f), 0.25f);
    EXPECT_FLOAT_EQ(nextPointerScale(1.0f, PointerBand::Middle, 0.25f), 1.0f);
    // The top edge leaves the scale alone; the bottom edge turns the arrow over.
    EXPECT_FLOAT_EQ(nextPointerScale(0.5f, PointerBand::Top, 0.25f), 0.5f);
    EXPECT_FLOAT_EQ(nextPointerScale(0.5f, PointerBand::Bottom, 0.25f), -1.0f);
    // Back in the middle the cursor is at full size at once.
    EXPECT_FLOAT_EQ(nextPointerScale(-1.0f, PointerBand::Middle, 0.25f), 1.0f);
    // The hover size is kept here; the hover step shrinks it.
    EXPECT_FLOAT_EQ(nextPointerScale(1.5f, PointerBand::Middle, 0.25f), 1.5f);
}

}  // namespace
