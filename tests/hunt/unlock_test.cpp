// The unlock sequence, typed through the window procedure's key history. The keys
// live in a data file, so the sequence is written down in one place only.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "app/input.h"
#include "hunt/flock.h"
#include "hunt/unlock.h"

namespace {

std::vector<int> unlockKeys()
{
    std::ifstream file(ZW_HUNT_TEST_DATA "/unlock.keys");
    std::vector<int> keys;
    std::string line;
    while (std::getline(file, line))
        if (!line.empty()) keys.push_back(static_cast<unsigned char>(line[0]));
    return keys;
}

void press(int key)
{
    platform::Message message;
    message.kind = platform::MessageKind::KeyDown;
    message.wParam = static_cast<std::uint32_t>(key);
    windowProc(message);
}

class UnlockTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        input = InputState{};
        keys = unlockKeys();
        ASSERT_EQ(keys.size(), 6u) << "unlock.keys must hold six letters";
    }
    std::vector<int> keys;
};

TEST_F(UnlockTest, SequenceAfterAnotherKeyStartsTheHuntAndClearsTheHistory)
{
    Flock flock;
    press('Q');
    for (int key : keys) press(key);
    checkUnlock(flock);
    EXPECT_FALSE(flock.invitationMode);
    for (int entry : input.keyHistory) EXPECT_EQ(entry, 0);
}

TEST_F(UnlockTest, IncompleteOrDisturbedSequenceDoesNothing)
{
    Flock flock;
    for (std::size_t i = 0; i + 1 < keys.size(); ++i) press(keys[i]);
    checkUnlock(flock);
    EXPECT_TRUE(flock.invitationMode);
    press('Q');
    press(keys.back());
    checkUnlock(flock);
    EXPECT_TRUE(flock.invitationMode);
}

TEST_F(UnlockTest, SequenceHasNoDirectlyRepeatedKey)
{
    for (std::size_t i = 1; i < keys.size(); ++i) EXPECT_NE(keys[i], keys[i - 1]);
    for (int key : keys) {
        EXPECT_GE(key, 'A');
        EXPECT_LE(key, 'Z');
    }
}

TEST_F(UnlockTest, TypingItAgainAfterTheHuntChangesNothing)
{
    Flock flock;
    for (int key : keys) press(key);
    checkUnlock(flock);
    flock.invitationMode = false;
    for (int key : keys) press(key);
    checkUnlock(flock);
    EXPECT_FALSE(flock.invitationMode);
}

}  // namespace
