// The window's creation sequence, fallback and failures, projection and teardown.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/input.h"
#include "app/window.h"
#include "support/fake_platform.h"

namespace {

using platform::Answer;
using platform::WindowStyle;

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { fakePlatform = FakePlatform{}; }
    bool createProgramWindow(Window& window)
    {
        return window.create("zwirbelalp", 640, 480, 32, true, true, windowProc);
    }
};

TEST_F(WindowTest, FullScreenSequenceEndsWithOneBlackSwap)
{
    Window window;
    ASSERT_TRUE(createProgramWindow(window));
    std::vector<std::string> expected = {"registerWindowClass", "changeDisplayMode", "hideCursor",
                                         "createWindow",        "createGlContext",   "showWindow",
                                         "perspective",         "swapBuffers"};
    EXPECT_EQ(fakePlatform.calls, expected);
    EXPECT_EQ(fakePlatform.style, WindowStyle::FullScreen);
    EXPECT_EQ(fakePlatform.windowX, 0);
    EXPECT_EQ(fakePlatform.windowY, 0);
    EXPECT_TRUE(fakePlatform.boxes.empty());
    EXPECT_EQ(fakePlatform.proc, &windowProc);
}

TEST_F(WindowTest, ProjectionIsFixed45DegreesWithFloatNearPlane)
{
    Window window;
    ASSERT_TRUE(createProgramWindow(window));
    const double* args = fakePlatform.perspectiveArgs;
    EXPECT_EQ(args[0], 45.0);
    EXPECT_EQ(args[1], static_cast<double>(640.0f / 480.0f));
    EXPECT_EQ(args[2], 0.10000000149011612);
    EXPECT_EQ(args[3], 1000.0);
    window.resize(640, 0);  // a height of 0 counts as 1
    EXPECT_EQ(window.clientHeight(), 1);
    EXPECT_EQ(fakePlatform.perspectiveArgs[1], 640.0);
}

// The sequence's failures, each with its message box and its result.
TEST_F(WindowTest, FailuresAndTheWindowedFallback)
{
    struct Case {
        const char* name;
        bool failRegister, failDisplay, failWindow, failContext;
        Answer answer;
        bool created;
        const char* box;  // text of the last message box, or null
        WindowStyle style;
    } cases[] = {
        {"register", true, false, false, false, Answer::Yes, false, "Failed To Register The Window Class.",
         WindowStyle::Overlapped},
        {"windowed: yes", false, true, false, false, Answer::Yes, true, "ERROR! windowed instead?",
         WindowStyle::Borderless},
        {"windowed: no", false, true, false, false, Answer::No, false, "ERROR! windowed instead?",
         WindowStyle::Overlapped},
        {"create window", false, false, true, false, Answer::Yes, false, "ERROR while creating window",
         WindowStyle::FullScreen},
        {"context", false, false, false, true, Answer::Yes, false, "ERROR while creating window",
         WindowStyle::FullScreen},
    };
    for (const Case& c : cases) {
        fakePlatform = FakePlatform{};
        fakePlatform.failRegister = c.failRegister;
        fakePlatform.failDisplayMode = c.failDisplay;
        fakePlatform.failCreateWindow = c.failWindow;
        fakePlatform.failGlContext = c.failContext;
        fakePlatform.answer = c.answer;
        Window window;
        EXPECT_EQ(createProgramWindow(window), c.created) << c.name;
        ASSERT_EQ(fakePlatform.boxes.size(), 1u) << c.name;
        EXPECT_EQ(fakePlatform.boxes[0].text, c.box) << c.name;
        EXPECT_EQ(fakePlatform.boxes[0].caption, "ERROR") << c.name;
        EXPECT_EQ(fakePlatform.boxes[0].icon, platform::Icon::Exclamation) << c.name;
        EXPECT_EQ(fakePlatform.style, c.style) << c.name;
        EXPECT_EQ(callIndex("postQuitMessage"), -1) << c.name << ": window failures post no quit";
    }
}

TEST_F(WindowTest, WindowedFallbackIsCentredAndKeepsTheCursor)
{
    fakePlatform.failDisplayMode = true;
    fakePlatform.screenWidth = 1025;  // odd sizes: each half truncates
    fakePlatform.screenHeight = 769;
    Window window;
    ASSERT_TRUE(createProgramWindow(window));
    EXPECT_EQ(fakePlatform.boxes[0].buttons, platform::Buttons::YesNo);
    EXPECT_EQ(fakePlatform.windowX, 512 - 320);
    EXPECT_EQ(fakePlatform.windowY, 384 - 240);
    EXPECT_TRUE(fakePlatform.cursorVisible);
}

// A failed window creation runs the teardown before its message box; nothing that
// was never created is released.
TEST_F(WindowTest, FailedCreationTearsDownBeforeTheMessage)
{
    fakePlatform.failCreateWindow = true;
    Window window;
    ASSERT_FALSE(createProgramWindow(window));
    int restore = callIndex("restoreDisplayMode"), box = callIndex("messageBox");
    EXPECT_GE(restore, 0);
    EXPECT_LT(restore, box);
    EXPECT_EQ(callIndex("destroyGlContext"), -1);
    EXPECT_EQ(callIndex("destroyWindow"), -1);
}

// The stored full-screen flag survives the fallback, so the teardown gives the
// display back (a no-op then) and shows the cursor.
TEST_F(WindowTest, DestroyGivesTheDisplayBackOnceAndReleasesInOrder)
{
    fakePlatform.failDisplayMode = true;
    {
        Window window;
        ASSERT_TRUE(createProgramWindow(window));
        fakePlatform.calls.clear();
    }
    std::vector<std::string> expected = {"restoreDisplayMode", "showCursor", "destroyGlContext",
                                         "destroyWindow"};
    EXPECT_EQ(fakePlatform.calls, expected);
}

TEST_F(WindowTest, WindowNotCentredIsOverlappedAtTheOrigin)
{
    Window window;
    ASSERT_TRUE(window.create("t", 320, 200, 32, false, false, windowProc));
    EXPECT_EQ(fakePlatform.style, WindowStyle::Overlapped);
    EXPECT_EQ(callIndex("changeDisplayMode"), -1);
    fakePlatform.calls.clear();
    window.destroy();
    EXPECT_EQ(callIndex("restoreDisplayMode"), -1);
}

}  // namespace
