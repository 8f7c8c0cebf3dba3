// Flight, wing frames, re-entry, hits and the counters of the flock.
#include <gtest/gtest.h>

#include <ostream>

#include "hunt/flock.h"

namespace {

// Every bird somewhere harmless: inside all limits, flying slowly right, far from
// the points the tests aim at.
void park(Flock& flock)
{
    for (int i = 0; i < birdCount; ++i) {
        flock.positions[i].set(-3.5f, -5.0f - 0.3f * i, 0.0f);
        flock.velocities[i].set(0.5f, 0.0f, 0.0f);
        flock.alive[i] = true;
    }
}

// A flock in the hunt whose previous update also ran in the hunt.
Flock huntingFlock()
{
    Flock flock;
    park(flock);
    flock.invitationMode = false;
    flockModule.wasInvitationMode = false;
    return flock;
}

class FlockTest : public ::testing::Test {
protected:
    void SetUp() override { flockModule = FlockModule{}; }
};

TEST_F(FlockTest, InvitationMovesOnlyTheFirstTwoBirds)
{
    Flock flock;
    park(flock);
    flock.update(0.1f);
    for (int i = 0; i < birdCount; ++i) {
        const float expected = i < 2 ? -3.5f + 0.5f * 0.1f * 1.5f : -3.5f;
        EXPECT_FLOAT_EQ(flock.positions[i].x, expected) << "bird " << i;
    }
}

TEST_F(FlockTest, NoHitsDuringTheInvitation)
{
    Flock flock;
    park(flock);
    flock.positions[0].set(0.0f, 0.0f, 0.0f);
    EXPECT_EQ(flock.birdAt(0.0f, 0.0f), 0);
    EXPECT_FALSE(flock.shoot(0.0f, 0.0f));
    EXPECT_EQ(flock.deadCount, 0);
    EXPECT_TRUE(flock.alive[0]);
}

TEST_F(FlockTest, WingFrameAdvancesOnEveryThirdUpdateAtFortyMilliseconds)
{
    Flock flock;
    park(flock);
    const int first = flock.frame[0];
    int advances[9];
    int previous = first;
    for (int update = 0; update < 9; ++update) {
        flock.update(0.04f);
        advances[update] = flock.frame[0] != previous;
        previous = flock.frame[0];
    }
    const int expected[9] = {0, 0, 1, 0, 0, 1, 0, 0, 1};
    for (int u = 0; u < 9; ++u) EXPECT_EQ(advances[u], expected[u]) << "update " << u;
    EXPECT_EQ(flock.frame[0], (first + 3) % 4);
}

TEST_F(FlockTest, WingFrameWrapsAfterTheFourthFrame)
{
    Flock flock;
    park(flock);
    flock.frame[0] = 3;
    flock.update(0.11f);
    EXPECT_EQ(flock.frame[0], 0);
    EXPECT_FLOAT_EQ(flock.frameTimer[0], 0.0f);
}

TEST_F(FlockTest, HitNeedsStrictlyLessThanAQuarterAndLowerIndexWins)
{
    Flock flock = huntingFlock();
    flock.positions[3].set(1.0f, 1.0f, 0.0f);
    flock.positions[5].set(1.1f, 1.0f, 0.0f);
    EXPECT_EQ(flock.birdAt(1.0f, 1.25f), 0);  // exactly 0.25 away
    EXPECT_EQ(flock.birdAt(1.05f, 1.0f), 4);  // both in range: the lower index
    flock.alive[3] = false;
    EXPECT_EQ(flock.birdAt(1.05f, 1.0f), 6);  // dead birds are not under the pointer
}

TEST_F(FlockTest, ShotBirdFallsAwayAndCounts)
{
    Flock flock = huntingFlock();
    flock.positions[2].set(0.5f, 0.5f, 0.0f);
    flock.velocities[2].set(-0.8f, 0.05f, 0.0f);
    EXPECT_TRUE(flock.shoot(0.6f, 0.5f));
    EXPECT_FALSE(flock.alive[2]);
    EXPECT_EQ(flock.deadCount, 1);
    EXPECT_FLOAT_EQ(flock.velocities[2].x, -0.8f);
    EXPECT_FLOAT_EQ(flock.velocities[2].y, -1.5f);
    EXPECT_FLOAT_EQ(flock.velocities[2].z, -1.5f);
    EXPECT_FLOAT_EQ(flock.positions[2].x, 0.5f);
    EXPECT_FALSE(flock.shoot(0.6f, 0.5f));  // nothing left alive there
    EXPECT_EQ(flock.deadCount, 1);
}

struct ReentryCase {
    const char* name;
    float x, y, vx;
    bool alive;
    float expectedX;
    int expectedEscapes;
};

void PrintTo(const ReentryCase& c, std::ostream* os) { *os << c.name; }

// The bird is given its position after this update's move, with vy 0.
class ReentryTest : public FlockTest, public ::testing::WithParamInterface<ReentryCase> {};

TEST_P(ReentryTest, ComesBackReversedAndCountsEscapesTowardTheMiddle)
{
    const ReentryCase& c = GetParam();
    Flock flock = huntingFlock();
    const float dt = 0.01f;
    flock.positions[4].set(c.x - c.vx * dt * 1.5f, c.y, 0.0f);
    flock.velocities[4].set(c.vx, 0.0f, 0.0f);
    flock.alive[4] = c.alive;
    flock.update(dt);
    EXPECT_FLOAT_EQ(flock.positions[4].x, c.expectedX);
    EXPECT_GE(flock.positions[4].y, -0.15f);
    EXPECT_LE(flock.positions[4].y, 1.65f);
    EXPECT_FLOAT_EQ(flock.positions[4].z, 0.0f);
    EXPECT_FLOAT_EQ(flock.velocities[4].x, -c.vx);
    EXPECT_TRUE(flock.alive[4]);
    EXPECT_EQ(flock.aliveCount, -1 + c.expectedEscapes);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, ReentryTest,
    ::testing::Values(ReentryCase{"RightSideHeadingOut", 4.5f, 0.0f, 1.0f, true, 4.5f, 1},
                      ReentryCase{"LeftSideHeadingOut", -4.5f, 0.0f, -1.0f, true, -4.5f, 1},
                      ReentryCase{"TopFarRightHeadingRight", 5.0f, 2.9f, 1.0f, true, 5.0f, 1},
                      ReentryCase{"TopFarRightHeadingLeft", 5.0f, 2.9f, -1.0f, true, 5.0f, 0},
                      ReentryCase{"TopMiddleGoesToNearerRightEdge", 1.0f, 2.9f, 1.0f, true, 4.0f, 1},
                      ReentryCase{"TopMiddleGoesToNearerLeftEdge", -1.0f, 2.9f, 1.0f, true, -4.0f, 0},
                      ReentryCase{"ShotBirdBelowTheBottomIsNoEscape", -1.0f, -9.1f, -1.0f, false, -4.0f, 0}),
    [](const ::testing::TestParamInfo<ReentryCase>& info) { return info.param.name; });

TEST_F(FlockTest, FirstHuntUpdateCountsNoEscapes)
{
    Flock flock;
    park(flock);
    flock.update(0.01f);  // an invitation update
    flock.invitationMode = false;
    flock.positions[7].set(4.5f, 0.0f, 0.0f);
    flock.velocities[7].set(1.0f, 0.0f, 0.0f);
    flock.update(0.01f);
    EXPECT_FLOAT_EQ(flock.velocities[7].x, -1.0f);  // it did come back
    EXPECT_EQ(flock.aliveCount, -1);
    flock.positions[7].set(-4.5f, 0.0f, 0.0f);
    flock.update(0.01f);
    EXPECT_EQ(flock.aliveCount, 0);
}

TEST_F(FlockTest, WithoutRespawnBirdsFlyOnOutOfView)
{
    Flock flock = huntingFlock();
    flock.respawnEnabled = false;
    flock.positions[0].set(4.5f, 0.0f, 0.0f);
    flock.velocities[0].set(1.0f, 0.0f, 0.0f);
    for (int i = 0; i < 10; ++i) flock.update(0.1f);
    EXPECT_FLOAT_EQ(flock.velocities[0].x, 1.0f);
    EXPECT_NEAR(flock.positions[0].x, 4.5f + 1.5f, 1e-4f);
    EXPECT_EQ(flock.aliveCount, -1);
}

TEST_F(FlockTest, InvitationBirdsTurnOnlyAtTheWideLimit)
{
    Flock flock;
    park(flock);
    flock.positions[0].set(7.9f, 0.0f, 0.0f);
    flock.velocities[0].set(1.0f, 0.0f, 0.0f);
    flock.update(0.01f);
    EXPECT_FLOAT_EQ(flock.velocities[0].x, 1.0f);
    flock.update(0.1f);
    EXPECT_FLOAT_EQ(flock.velocities[0].x, -1.0f);
    EXPECT_EQ(flock.aliveCount, -1);  // no counting outside the hunt
}

}  // namespace
