// Scripted input, the message queue and message boxes on the headless back end. The
// queue (moves merge into the newest pending move, characters as a US keyboard types
// them) is shared by every back end.
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

Event move(double time, int x, int y) { return at(time, Event::Kind::Mouse, 0, x, y); }

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

std::vector<MessageKind> kinds(const std::vector<Message>& messages)
{
    std::vector<MessageKind> all;
    for (const Message& m : messages) all.push_back(m.kind);
    return all;
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
    expectMessages(drain(), {{MessageKind::MouseMove, 0, 100, 50}, {MessageKind::ButtonDown, 1, 100, 50}},
                   "at 0.5 s");
    for (int i = 0; i < 30; ++i) platform::swapBuffers();
    expectMessages(drain(), {{MessageKind::MouseMove, 1, 639, 0}, {MessageKind::ButtonUp, 0, 639, 0}},
                   "at 1 s");
    for (int i = 0; i < 30; ++i) platform::swapBuffers();
    expectMessages(drain(), {{MessageKind::Close, 0, 639, 0}}, "at 1.5 s");
}

// "Down now, or pressed since the previous query".
TEST_F(HeadlessInput, AsyncLeftButtonRemembersAPressUntilAsked)
{
    headless::Config config;
    config.script = {at(0, Event::Kind::ButtonDown), at(0, Event::Kind::ButtonUp),
                     at(1, Event::Kind::ButtonDown)};
    headless::configure(config);
    platform::counterNow();
    EXPECT_TRUE(platform::asyncLeftButton());  // pressed and released before the query
    EXPECT_FALSE(platform::asyncLeftButton());
    for (int i = 0; i < 60; ++i) platform::swapBuffers();
    EXPECT_TRUE(platform::asyncLeftButton());  // held now
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
    expectMessages(rest,
                   {{MessageKind::KeyUp, 'Q', 320, 240},
                    {MessageKind::KeyDown, 27, 320, 240},
                    {MessageKind::KeyUp, 27, 320, 240},
                    {MessageKind::KeyDown, 112, 320, 240},
                    {MessageKind::KeyUp, 112, 320, 240},
                    {MessageKind::Char, 'q', 0, 0},
                    {MessageKind::Quit, 7, 0, 0}},
                   "queue after translate and quit");
    expectMessages(chars, {{MessageKind::Char, 27, 0, 0}}, "Escape gives a character, F1 none");
}

TEST_F(HeadlessInput, MovesInARowLeaveOneMessageWithTheNewestPlaceAndButton)
{
    std::vector<Event> script;
    for (int i = 0; i < 3000; ++i) script.push_back(move(0, i % 640, i % 480));
    script.push_back(at(0, Event::Kind::ButtonDown));
    script.push_back(move(0, 5, 6));
    script.push_back(move(0, 7, 8));  // with the button held
    headless::Config config;
    config.script = script;
    headless::configure(config);
    expectMessages(drain(),
                   {{MessageKind::MouseMove, 0, 2999 % 640, 2999 % 480},
                    {MessageKind::ButtonDown, 1, 2999 % 640, 2999 % 480},
                    {MessageKind::MouseMove, 1, 7, 8}},
                   "3000 moves, a click, two moves");
}

// A key, a click, a close request, a posted quit or a character after a move ends
// the merging; the order of everything stays.
TEST_F(HeadlessInput, AnyOtherMessageEndsTheMerging)
{
    headless::Config config;
    config.script = {move(0, 1, 1), at(0, Event::Kind::Key, 'A'), move(0, 2, 2),
                     move(0, 3, 3), at(0, Event::Kind::Close),    move(0, 4, 4)};
    headless::configure(config);
    using K = MessageKind;
    std::vector<Message> got = drain();
    EXPECT_EQ(kinds(got),
              (std::vector<K>{K::MouseMove, K::KeyDown, K::KeyUp, K::MouseMove, K::Close, K::MouseMove}));
    ASSERT_EQ(got.size(), 6u);
    EXPECT_EQ(got[3].x, 3);

    platform::setCursorPos(10, 10);  // a move, as the system reports a warp
    platform::postQuitMessage(0);
    platform::setCursorPos(20, 20);
    Message key;
    key.kind = K::KeyDown;
    key.wParam = 'B';
    platform::translateMessage(key);  // its character queues behind
    platform::setCursorPos(30, 30);
    got = drain();
    EXPECT_EQ(kinds(got), (std::vector<K>{K::MouseMove, K::Quit, K::MouseMove, K::Char, K::MouseMove}));
}

// Once the main loop has taken the pending move, the next move queues anew.
TEST_F(HeadlessInput, MovesAfterTheTakenOneQueueAgain)
{
    headless::Config config;
    config.script = {move(0, 1, 1), move(1.0 / 60, 2, 2), move(1.0 / 60, 3, 3)};
    headless::configure(config);
    platform::counterNow();
    Message first;
    ASSERT_TRUE(platform::peekMessage(first));
    EXPECT_EQ(first.x, 1);
    platform::swapBuffers();
    const std::vector<Message> rest = drain();
    ASSERT_EQ(rest.size(), 1u);
    EXPECT_EQ(rest[0].x, 3);
}

// Characters follow the keyboard the key codes describe, on every back end alike.
TEST_F(HeadlessInput, KeyDownsGiveTheCharactersOfAUsKeyboard)
{
    headless::configure({});
    const struct {
        std::uint32_t key;
        std::uint32_t character;
    } cases[] = {
        {'Q', 'q'},  {'7', '7'},  {0xBA, ';'}, {0xDE, '\''}, {0xC0, '`'},  // letters, digits, punctuation
        {0x65, '5'}, {0x6A, '*'}, {0x6E, '.'},                             // the keypad
        {0x10, 0},   {0x11, 0},   {0x14, 0},   {0x2E, 0},    {0x21, 0},
        {0x87, 0},  // Shift, Control, Caps Lock,
                    // Delete, Page Up, F24: none
    };
    for (const auto& c : cases) {
        Message key;
        key.kind = MessageKind::KeyDown;
        key.wParam = c.key;
        platform::translateMessage(key);
        const std::vector<Message> got = drain();
        if (c.character == 0) {
            EXPECT_TRUE(got.empty()) << c.key;
        } else {
            ASSERT_EQ(got.size(), 1u) << c.key;
            EXPECT_EQ(got[0].kind, MessageKind::Char);
            EXPECT_EQ(got[0].wParam, c.character) << c.key;
        }
    }
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
    EXPECT_EQ(platform::messageBox("File not found", "l\xF6kjzwirbelalp", Buttons::Ok, Icon::None),
              Answer::Ok);
    EXPECT_EQ(platform::messageBox("ERROR! windowed instead?", "ERROR", Buttons::YesNo, Icon::Exclamation),
              Answer::No);
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
