// The window procedure: key history, the left-button flag, Escape and closing.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "app/input.h"
#include "support/fake_platform.h"

namespace {

using platform::Message;
using platform::MessageKind;

Message message(MessageKind kind, std::uint32_t wParam = 0)
{
    Message m;
    m.kind = kind;
    m.wParam = wParam;
    return m;
}

long keyDown(std::uint32_t key) { return windowProc(message(MessageKind::KeyDown, key)); }

int quitMessagesPosted()
{
    int quits = 0;
    for (const Message& m : fakePlatform.queue) quits += m.kind == MessageKind::Quit;
    return quits;
}

class InputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fakePlatform = FakePlatform{};
        input = InputState{};
    }
    std::array<int, 6> history() const
    {
        std::array<int, 6> h{};
        for (int i = 0; i < 6; ++i) h[i] = input.keyHistory[i];
        return h;
    }
};

TEST_F(InputTest, KeyHistoryKeepsTheLastSixDistinctConsecutiveKeys)
{
    struct Case {
        const char* name;
        std::vector<std::uint32_t> keys;
        std::array<int, 6> expected;
    } cases[] = {
        {"A B B C", {65, 66, 66, 67}, {0, 0, 0, 65, 66, 67}},
        {"held key repeats", {72, 72, 72, 72}, {0, 0, 0, 0, 0, 72}},
        {"A B A is not a repeat", {65, 66, 65}, {0, 0, 0, 65, 66, 65}},
        {"oldest drops out", {65, 66, 67, 68, 69, 70, 71}, {66, 67, 68, 69, 70, 71}},
        {"Escape recorded", {65, 27}, {0, 0, 0, 0, 65, 27}},
        {"any code", {112, 0x5A}, {0, 0, 0, 0, 112, 90}},
    };
    for (const Case& c : cases) {
        input = InputState{};
        for (std::uint32_t key : c.keys) EXPECT_EQ(keyDown(key), 0);
        EXPECT_EQ(history(), c.expected) << c.name;
    }
    EXPECT_TRUE(fakePlatform.calls.empty()) << "key downs never reach default processing";
}

TEST_F(InputTest, ClearKeyHistoryZeroesAllEntries)
{
    for (std::uint32_t key : {65u, 66u, 67u}) keyDown(key);
    clearKeyHistory();
    EXPECT_EQ(history(), (std::array<int, 6>{}));
    keyDown(67);  // after clearing, the same key counts again
    EXPECT_EQ(input.keyHistory[5], 67);
}

TEST_F(InputTest, LeftButtonFlagHoldsOnlyWhileTheNewestMessageIsADragMove)
{
    struct Step {
        Message message;
        bool expected;
    } steps[] = {
        {message(MessageKind::MouseMove, platform::mouseLeftButtonBit), true},
        {message(MessageKind::MouseMove, 0), false},
        {message(MessageKind::MouseMove, platform::mouseLeftButtonBit | 0x10), true},
        {message(MessageKind::ButtonUp), false},
        {message(MessageKind::MouseMove, 1), true},
        {message(MessageKind::Char, 'a'), false},
        {message(MessageKind::MouseMove, 1), true},
        {message(MessageKind::Other), false},  // system keys, focus ...
        {message(MessageKind::ButtonDown), false},
        {message(MessageKind::KeyUp, 65), false},
    };
    int i = 0;
    for (const Step& step : steps) {
        windowProc(step.message);
        EXPECT_EQ(input.leftButtonDown, step.expected) << "step " << i++;
    }
    EXPECT_EQ(callIndex("defaultWindowProc"), 0) << "other messages go to default processing";
}

// A key down leaves the flag as it is: only non-key messages clear it.
TEST_F(InputTest, KeyDownLeavesTheLeftButtonFlag)
{
    windowProc(message(MessageKind::MouseMove, 1));
    keyDown(65);
    EXPECT_TRUE(input.leftButtonDown);
}

TEST_F(InputTest, EscapeBeforeTheOutroIsDoneOnlySwitchesToTheOutro)
{
    keyDown(27);
    EXPECT_TRUE(input.escapePressed);
    EXPECT_EQ(quitMessagesPosted(), 0);
    keyDown(27);  // again, still during the outro's first seconds
    EXPECT_EQ(quitMessagesPosted(), 0);
}

TEST_F(InputTest, EscapeAfterTheOutroIsDoneEndsTheProgram)
{
    keyDown(27);
    input.outroDone = true;
    keyDown(27);  // the repeat rule does not swallow the quit
    EXPECT_EQ(quitMessagesPosted(), 1);
    EXPECT_TRUE(input.escapePressed);
}

TEST_F(InputTest, CloseRequestPostsQuitInAnyState)
{
    EXPECT_EQ(windowProc(message(MessageKind::Close)), 0);
    ASSERT_EQ(quitMessagesPosted(), 1);
    EXPECT_EQ(fakePlatform.queue.back().wParam, 0u);
    EXPECT_EQ(callIndex("defaultWindowProc"), -1);
    EXPECT_EQ(callIndex("destroyWindow"), -1);
}

}  // namespace
