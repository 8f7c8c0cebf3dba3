// The timeline's time windows and slots, and the main loop's turns.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/clock.h"
#include "app/input.h"
#include "app/timeline.h"
#include "app/window.h"
#include "support/fake_platform.h"

namespace {

using platform::Message;
using platform::MessageKind;

// Records the local time it sees at each render.
class ProbeEffect : public Effect {
public:
    explicit ProbeEffect(std::vector<std::string>* order = nullptr, std::string name = "")
        : order(order), name(std::move(name))
    {
    }
    void render() override
    {
        seen.push_back(localTime);
        if (order) order->push_back(name);
    }
    std::vector<float> seen;
    std::vector<std::string>* order;
    std::string name;
};

Message message(MessageKind kind, std::uint32_t wParam = 0)
{
    Message m;
    m.kind = kind;
    m.wParam = wParam;
    return m;
}

class TimelineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fakePlatform = FakePlatform{};
        clockState = ClockState{};
        input = InputState{};
        fakePlatform.frequency = 4;  // quarter seconds: exact in float
        startClock();
    }
    void TearDown() override { timeline.releaseItems(); }

    // Moves the counter to `seconds` and runs one frame.
    void frameAt(double seconds)
    {
        fakePlatform.counter = static_cast<std::int64_t>(seconds * 4);
        timeline.runFrame();
    }

    Timeline timeline;
};

TEST_F(TimelineTest, ItemRunsOnlyStrictlyInsideItsWindow)
{
    struct Case {
        double time;
        bool runs;
    } cases[] = {{0.0, false}, {0.25, false}, {0.5, false}, {0.75, true},
                 {1.0, true},  {1.25, false}, {1.5, false}};
    ProbeEffect effect;
    timeline.setCapacity(1);
    timeline.add(&effect, 0.5f, 1.25f);
    std::size_t renders = 0;
    for (const Case& c : cases) {
        frameAt(c.time);
        if (c.runs) ++renders;
        EXPECT_EQ(effect.seen.size(), renders) << "at total time " << c.time;
    }
}

TEST_F(TimelineTest, LocalTimeCountsOnlyFramesInWhichTheEffectRuns)
{
    ProbeEffect effect;
    timeline.setCapacity(1);
    timeline.add(&effect, 0.5f, 100.0f);
    frameAt(0.25);  // not due: untouched
    frameAt(0.5);   // equal to start: not due
    EXPECT_EQ(effect.getLocalTime(), 0.0f);
    frameAt(1.0);
    frameAt(2.0);
    ASSERT_EQ(effect.seen.size(), 2u);
    EXPECT_EQ(effect.seen[0], 0.5f);  // render already sees this frame's delta
    EXPECT_EQ(effect.seen[1], 1.5f);
    effect.setLocalTime(0.0f);  // an effect may restart its own time
    frameAt(2.25);
    EXPECT_EQ(effect.seen.back(), 0.25f);
}

TEST_F(TimelineTest, ItemsRunInOrderOfAdd)
{
    std::vector<std::string> order;
    ProbeEffect b(&order, "b"), a(&order, "a"), c(&order, "c");
    timeline.setCapacity(3);
    timeline.add(&b, 0.0f, 10.0f);
    timeline.add(&a, 0.0f, 10.0f);
    timeline.add(&c, 0.0f, 10.0f);
    frameAt(1.0);
    EXPECT_EQ(order, (std::vector<std::string>{"b", "a", "c"}));
}

TEST_F(TimelineTest, EleventhAddIsIgnored)
{
    std::vector<ProbeEffect> effects(11);
    timeline.setCapacity(10);
    for (ProbeEffect& effect : effects) timeline.add(&effect, 0.0f, 10.0f);
    EXPECT_EQ(timeline.itemCount(), 10u);
    frameAt(1.0);
    EXPECT_EQ(effects[9].seen.size(), 1u);
    EXPECT_TRUE(effects[10].seen.empty());
}

TEST_F(TimelineTest, AddBeforeCapacityAndNullEffectAreIgnored)
{
    ProbeEffect effect;
    timeline.add(&effect, 0.0f, 10.0f);
    timeline.setCapacity(2);
    timeline.add(nullptr, 0.0f, 10.0f);
    EXPECT_EQ(timeline.itemCount(), 0u);
    frameAt(1.0);  // no crash on an empty timeline
}

// The main loop against the fake platform: a window to swap, a counter that moves
// a quarter second per swap.
class MainLoopTest : public TimelineTest {
protected:
    void SetUp() override
    {
        TimelineTest::SetUp();
        ASSERT_TRUE(window.create("test", 640, 480, 32, false, false, windowProc));
        fakePlatform.ticksPerSwap = 1;  // from the loop's first swap on
        fakePlatform.calls.clear();
        fakePlatform.swaps = 0;
        timeline.setCapacity(10);
        timeline.setWindow(&window);
        timeline.add(&effect, 0.0f, 86400.0f);
    }
    Window window;
    ProbeEffect effect;
};

TEST_F(MainLoopTest, QuitBeforeTheLoopRunsNoFrame)
{
    fakePlatform.queue.push_back(message(MessageKind::Quit));
    timeline.run();
    EXPECT_EQ(fakePlatform.swaps, 0);
    EXPECT_TRUE(fakePlatform.dispatched.empty());
}

// Three keys and a close request arrive at once: one is handled per turn, the turn
// that retrieves the quit message still draws and swaps, and the loop then ends.
TEST_F(MainLoopTest, OneMessagePerTurn)
{
    std::vector<int> historyAtSwap;
    fakePlatform.onSwap = [&] { historyAtSwap.push_back(input.keyHistory[5]); };
    for (std::uint32_t key : {65u, 66u, 67u})
        fakePlatform.queue.push_back(message(MessageKind::KeyDown, key));
    fakePlatform.queue.push_back(message(MessageKind::Close));
    timeline.run();
    // Turns: A, B, C, close, then the Char messages of A B C, then quit.
    EXPECT_EQ(fakePlatform.swaps, 8);
    EXPECT_EQ(effect.seen.size(), 7u);  // the first frame has total time 0: not due
    ASSERT_GE(historyAtSwap.size(), 3u);
    EXPECT_EQ(historyAtSwap[0], 65);
    EXPECT_EQ(historyAtSwap[1], 66);
    EXPECT_EQ(historyAtSwap[2], 67);
    for (const Message& m : fakePlatform.dispatched) EXPECT_NE(m.kind, MessageKind::Quit);
}

TEST_F(MainLoopTest, EmptyQueueStillDrawsEveryTurn)
{
    fakePlatform.onSwap = [&] {
        if (fakePlatform.swaps == 5) platform::postQuitMessage(0);
    };
    timeline.run();
    EXPECT_EQ(fakePlatform.swaps, 6);
    ASSERT_EQ(effect.seen.size(), 5u);
    EXPECT_EQ(effect.seen.back(), 1.25f);
    // Each turn: peek, frame, flush and swap, yield.
    int peek = callIndex("peekMessage"), swap = callIndex("swapBuffers");
    int yield = callIndex("yieldProcessor");
    EXPECT_LT(peek, swap);
    EXPECT_LT(swap, yield);
}

TEST_F(MainLoopTest, EffectPastItsEndIsSkippedWhileTheLoopGoesOn)
{
    timeline.releaseItems();
    timeline.setCapacity(1);
    timeline.add(&effect, 0.0f, 1.0f);
    fakePlatform.onSwap = [&] {
        if (fakePlatform.swaps == 8) platform::postQuitMessage(0);
    };
    timeline.run();
    EXPECT_EQ(fakePlatform.swaps, 9);
    EXPECT_EQ(effect.seen.size(), 3u);  // 0.25, 0.5, 0.75
}

}  // namespace
