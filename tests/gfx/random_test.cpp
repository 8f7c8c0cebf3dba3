// The show's random numbers: the sequence every platform must draw alike.
#include <gtest/gtest.h>

#include "gfx/random.h"

namespace {

TEST(Random, StartsWithTheKnownSequence)
{
    randomState = RandomState{};
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
    for (int value : expected) EXPECT_EQ(nextRandom(), value);
}

}  // namespace
