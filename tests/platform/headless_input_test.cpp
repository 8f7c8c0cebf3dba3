// Scripted input, the message queue and message boxes on the headless back end.
#include <gtest/gtest.h>

#include <vector>

#include "platform/headless.h"
#include "platform/platform.h"

namespace {

using headless::Event;
using platform::Message;
using platform::MessageKind;

Event at(double time, Event::Kind kind, int key = 0, int x = 0, int y = 0, bool yes = true)
{
    Event event;
    event.time = time;
    event.kind = kind;
    event.key = key;
    event.x = x;
    event.y = y;
    event.yes = yes;
    return event;
}

std::vector<Message> drain()
{
    std::vector<Message> all;
    Message message;
    while (platform::peekMessage(message)) all.push_back(message);
    return all;
}

struct Expected {
    MessageKind kind;
    std::uint32_t wParam;
    int x, y;
};

void expectMessages(const std::vector<Message>& got, const std::vector<Expected>& want, const char* when)
{
    ASSERT_EQ(got.size(), want.size()) << when;
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(got[i].kind, want[i].kind) << when << " #" << i;
        EXPECT_EQ(got[i].wParam, want[i].wParam) << when << " #" << i;
        EXPECT_EQ(got[i].x, want[i].x) << when << " #" << i;
        EXPECT_EQ(got[i].y, want[i].y) << when << " #" << i;
    }
}

class HeadlessInput : public ::testing::Test {
protected:
    void TearDown() override { headless::configure({}); }
};

// Events arrive when the clock reaches their time, in script order for equal times,
// with the pointer and button state they create.
TEST_F(HeadlessInput, EventsArriveOnTimeInOrder)
{
    headless::Config config;  // 60 frames per second
    config.script = {
        at(0.5, Event::Kind::Mouse, 0, 100, 50),
        at(0.5, Event::Kind::ButtonDown),
        at(0.0, Event::Kind::Key, 'A'),
        at(1.0, Event::Kind::Mouse, 0, 700, -3),  // outside: clamped to the picture
        at(1.0, Event::Kind::ButtonUp),
        at(1.5, Event::Kind::Close),
    };
    headless::configure(config);
    expectMessages(drain(), {{MessageKind::KeyDown, 'A', 320, 240}, {MessageKind::KeyUp, 'A', 320, 240}},
                   "before the clock starts, time 0 is due");
    platform::counterNow();
    for (int i = 0; i < 29; ++i) platform::swapBuffers();
    expectMessages(drain(), {}, "at 29/60 s");
    platform::swapBuffers();
    expectMessages(drain(), {{MessageKind::MouseMove, 0, 100, 50}, {MessageKind::ButtonDown, 1, 100, 50}}, "at 0.5 s");
    for (int i = 0; i < 30; ++i) platform::swapBuffers();
    expectMessages(drain(), {{MessageKind::MouseMove, 1, 639, 0}, {MessageKind::ButtonUp, 0, 639, 0}}, "at 1 s");
    for (int i = 0; i < 30; ++i) platform::swapBuffers();
    expectMessages(drain(), {{MessageKind::Close, 0, 639, 0}}, "at 1.5 s");
}

// "Down now, or pressed since the previous query".
TEST_F(HeadlessInput, AsyncLeftButtonRemembersAPressUntilAsked)
{
    headless::Config config;
    config.script = {at(0, Event::Kind::ButtonDown), at(0, Event::Kind::ButtonUp), at(1, Event::Kind::ButtonDown)};
    headless::configure(config);
    platform::counterNow();
    EXPECT_TRUE(platform::asyncLeftButton());   // pressed and released before the query
    EXPECT_FALSE(platform::asyncLeftButton());
    for (int i = 0; i < 60; ++i) platform::swapBuffers();
    EXPECT_TRUE(platform::asyncLeftButton());   // held now
    EXPECT_TRUE(platform::asyncLeftButton());
}

TEST_F(HeadlessInput, SetCursorPosReportsOnlyRealMoves)
{
    headless::configure({});
    int x = 0, y = 0;
    platform::setCursorPos(320, 240);  // where the pointer starts: no move
    expectMessages(drain(), {}, "no move");
    platform::setCursorPos(10, 20);
    platform::getCursorPos(x, y);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 20);
    platform::setCursorPos(10, 20);
    expectMessages(drain(), {{MessageKind::MouseMove, 0, 10, 20}}, "one move");
    EXPECT_TRUE(headless::cursorVisible());
    platform::showCursor(false);
    EXPECT_FALSE(headless::cursorVisible());
}

// Quit, Char and scripted messages share one first-in, first-out queue.
TEST_F(HeadlessInput, TranslateAndQuitQueueBehindPendingMessages)
{
    headless::Config config;
    config.script = {at(0, Event::Kind::Key, 'Q'), at(0, Event::Kind::Key, platform::keyEscape),
                     at(0, Event::Kind::Key, 112 /* F1: no character */)};
    headless::configure(config);
    Message first;
    ASSERT_TRUE(platform::peekMessage(first));
    platform::translateMessage(first);
    platform::postQuitMessage(7);
    std::vector<Message> rest = drain();
    std::vector<Message> translated;
    for (const Message& m : rest) {
        platform::translateMessage(m);
        translated.push_back(m);
    }
    std::vector<Message> chars = drain();
    expectMessages(rest, {{MessageKind::KeyUp, 'Q', 320, 240}, {MessageKind::KeyDown, 27, 320, 240},
                          {MessageKind::KeyUp, 27, 320, 240}, {MessageKind::KeyDown, 112, 320, 240},
                          {MessageKind::KeyUp, 112, 320, 240}, {MessageKind::Char, 'q', 0, 0},
                          {MessageKind::Quit, 7, 0, 0}},
                   "queue after translate and quit");
    expectMessages(chars, {{MessageKind::Char, 27, 0, 0}}, "Escape gives a character, F1 none");
}

long recordingProc(const Message& message) { return long(message.wParam) + 1000; }

TEST_F(HeadlessInput, DispatchGoesToTheRegisteredProcedure)
{
    headless::configure({});
    Message m;
    m.wParam = 5;
    EXPECT_EQ(platform::dispatchMessage(m), 0);  // nothing registered: default processing
    ASSERT_TRUE(platform::registerWindowClass(recordingProc));
    EXPECT_EQ(platform::dispatchMessage(m), 1005);
}

// Yes/No boxes take the scripted answers in turn (Yes when none is left); OK boxes
// leave them alone. Every box is recorded as the program passed it.
TEST_F(HeadlessInput, MessageBoxesAreAnsweredAndRecorded)
{
    headless::Config config;
    config.script = {at(0, Event::Kind::Answer, 0, 0, 0, false), at(2, Event::Kind::Answer, 0, 0, 0, false)};
    headless::configure(config);
    using platform::Answer;
    using platform::Buttons;
    using platform::Icon;
    EXPECT_EQ(platform::messageBox("File not found", "l\xF6kjzwirbelalp", Buttons::Ok, Icon::None), Answer::Ok);
    EXPECT_EQ(platform::messageBox("ERROR! windowed instead?", "ERROR", Buttons::YesNo, Icon::Exclamation), Answer::No);
    EXPECT_EQ(platform::messageBox("again?", "ERROR", Buttons::YesNo, Icon::Exclamation), Answer::Yes);
    platform::counterNow();
    for (int i = 0; i < 120; ++i) platform::swapBuffers();
    EXPECT_EQ(platform::messageBox("late", "ERROR", Buttons::YesNo, Icon::None), Answer::No);
    EXPECT_EQ(platform::messageBox(nullptr, nullptr, Buttons::Ok, Icon::None), Answer::Ok);

    const auto& boxes = headless::messageBoxes();
    ASSERT_EQ(boxes.size(), 5u);
    EXPECT_EQ(boxes[0].caption, "l\xF6kjzwirbelalp");
    EXPECT_EQ(boxes[0].text, "File not found");
    EXPECT_EQ(boxes[0].buttons, Buttons::Ok);
    EXPECT_EQ(boxes[1].answer, Answer::No);
    EXPECT_EQ(boxes[1].buttons, Buttons::YesNo);
    EXPECT_EQ(boxes[2].answer, Answer::Yes);
    EXPECT_EQ(boxes[4].text, "");
}

TEST_F(HeadlessInput, SimulatedWindowFailures)
{
    headless::Config config;
    config.failWindowClass = true;
    config.failDisplayMode = true;
    config.failWindowCreation = true;
    headless::configure(config);
    EXPECT_FALSE(platform::registerWindowClass(nullptr));
    EXPECT_FALSE(platform::changeDisplayMode(640, 480, 32));
    EXPECT_FALSE(platform::createWindow("zwirbelalp", 0, 0, 640, 480, platform::WindowStyle::FullScreen));
    headless::configure({});
    EXPECT_TRUE(platform::registerWindowClass(nullptr));
    EXPECT_TRUE(platform::changeDisplayMode(640, 480, 32));
    EXPECT_TRUE(platform::createWindow("zwirbelalp", 0, 0, 640, 480, platform::WindowStyle::FullScreen));
    int w = 0, h = 0;
    platform::screenSize(w, h);
    EXPECT_GE(w, 640);
    EXPECT_GE(h, 480);
}

}  // namespace
