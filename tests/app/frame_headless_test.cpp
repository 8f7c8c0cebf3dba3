// The real window, timeline and main loop on the headless back end: off-screen GL,
// a virtual clock that moves one frame per swap, scripted input.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <vector>

#include "app/clock.h"
#include "app/input.h"
#include "app/timeline.h"
#include "app/window.h"
#include "platform/headless.h"

namespace {

using headless::Event;

// Fills the whole view with a grey whose level counts its renders, and remembers
// the local time of each render.
class CountingEffect : public Effect {
public:
    void render() override
    {
        localTimes.push_back(localTime);
        float level = float(localTimes.size()) / 255.0f;
        glClear(GL_COLOR_BUFFER_BIT);
        glColor4f(level, level, level, 1.0f);
        glBegin(GL_QUADS);
        glVertex3f(-10.0f, -10.0f, -1.0f);
        glVertex3f(10.0f, -10.0f, -1.0f);
        glVertex3f(10.0f, 10.0f, -1.0f);
        glVertex3f(-10.0f, 10.0f, -1.0f);
        glEnd();
    }
    std::vector<float> localTimes;
};

struct SwappedFrame {
    std::uint64_t index;
    float totalTime;
    headless::Picture picture;
};

std::uint8_t redAt(const headless::Picture& p, int x, int y)
{
    return p.rgba[(std::size_t(y) * p.width + x) * 4];
}

class HeadlessFrameTest : public ::testing::Test {
protected:
    // The program's state is process-wide and never reset by the program itself;
    // the test starts every case from the start values.
    void start(int scale, std::vector<Event> script)
    {
        clockState = ClockState{};
        input = InputState{};
        headless::Config config;
        config.scale = scale;
        config.script = std::move(script);
        config.onSwap = [this](std::uint64_t index) {
            frames.push_back({index, totalTime(), headless::readPicture()});
        };
        headless::configure(config);
    }
    void TearDown() override { headless::configure(headless::Config{}); }
    std::vector<SwappedFrame> frames;
};

TEST_F(HeadlessFrameTest, CreationShowsOneBlackFrame)
{
    start(1, {});
    Window window;
    ASSERT_TRUE(window.create("zwirbelalp", 640, 480, 32, true, true, windowProc));
    ASSERT_EQ(frames.size(), 1u);
    glClearColor(1, 1, 1, 1);  // something else on screen, then the initial state again
    glClear(GL_COLOR_BUFFER_BIT);
    window.initGl();
    ASSERT_EQ(frames.size(), 2u);
    const headless::Picture& picture = frames.back().picture;
    ASSERT_EQ(picture.width, 640);
    ASSERT_EQ(picture.height, 480);
    for (std::uint8_t byte : picture.rgba) ASSERT_EQ(byte, 0);
}

// At twice the picture size the viewport covers the whole drawable, and each frame's
// effect is advanced and rendered before its swap. The scripted close request ends
// the loop two turns after it arrives.
TEST_F(HeadlessFrameTest, LoopRunsTheEffectEveryFrameUntilTheScriptedClose)
{
    start(2, {{0.25, Event::Kind::Close, 0, 0, 0, true}});
    Window window;
    ASSERT_TRUE(window.create("zwirbelalp", 640, 480, 32, true, true, windowProc));
    CountingEffect effect;
    Timeline timeline;
    timeline.setCapacity(10);
    timeline.setWindow(&window);
    timeline.add(&effect, 0.0f, 86400.0f);
    frames.clear();
    startClock();
    timeline.run();
    timeline.releaseItems();

    // Frame 0 at clock 0 (not due). The swap of frame 14 moves the clock to 0.25 s and
    // brings the close request, handled in frame 15; its quit message is retrieved in
    // frame 16, the last.
    ASSERT_EQ(frames.size(), 17u);
    ASSERT_EQ(effect.localTimes.size(), 16u);
    float expected = 0.0f;
    for (std::size_t i = 1; i < frames.size(); ++i) {
        expected = expected + (frames[i].totalTime - frames[i - 1].totalTime);
        EXPECT_EQ(effect.localTimes[i - 1], expected) << "frame " << i;
        const headless::Picture& picture = frames[i].picture;
        ASSERT_EQ(picture.width, 1280);
        EXPECT_EQ(redAt(picture, 0, 0), i) << "frame " << i;
        EXPECT_EQ(redAt(picture, 1279, 959), i) << "frame " << i;
    }
    EXPECT_NEAR(effect.localTimes.back(), 16.0 / 60.0, 1e-5);
}

TEST_F(HeadlessFrameTest, ScriptedKeysReachTheHistoryOnePerTurn)
{
    start(1, {{0.1, Event::Kind::Key, 'Z', 0, 0, true},
              {0.1, Event::Kind::Key, 'W', 0, 0, true},
              {0.5, Event::Kind::Close, 0, 0, 0, true}});
    Window window;
    ASSERT_TRUE(window.create("zwirbelalp", 640, 480, 32, false, true, windowProc));
    Timeline timeline;
    timeline.setCapacity(1);
    timeline.setWindow(&window);
    startClock();
    timeline.run();
    timeline.releaseItems();
    EXPECT_EQ(input.keyHistory[4], 'Z');
    EXPECT_EQ(input.keyHistory[5], 'W');
    EXPECT_FALSE(input.escapePressed);
}

}  // namespace
