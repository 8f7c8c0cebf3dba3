// The message queue both back ends share: a mouse move merges into the newest pending
// message when that is a move, and nothing else merges; key downs give the character
// messages a US keyboard types. Driven through the headless back end's script.
#include <gtest/gtest.h>

#include <vector>

#include "platform/headless.h"
#include "platform/platform.h"

namespace {

using headless::Event;
using platform::Message;
using platform::MessageKind;

Event at(double time, Event::Kind kind, int key = 0, int x = 0, int y = 0)
{
    Event event;
    event.time = time;
    event.kind = kind;
    event.key = key;
    event.x = x;
    event.y = y;
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

std::vector<MessageKind> kinds(const std::vector<Message>& messages)
{
    std::vector<MessageKind> all;
    for (const Message& m : messages) all.push_back(m.kind);
    return all;
}

class MessageQueue : public ::testing::Test {
protected:
    void run(std::vector<Event> script)
    {
        headless::Config config;
        config.script = std::move(script);
        headless::configure(config);
    }
    void TearDown() override { headless::configure({}); }
};

TEST_F(MessageQueue, MovesInARowLeaveOneMessageWithTheNewestPlaceAndButton)
{
    std::vector<Event> script;
    for (int i = 0; i < 3000; ++i) script.push_back(move(0, i % 640, i % 480));
    script.push_back(at(0, Event::Kind::ButtonDown));
    script.push_back(move(0, 5, 6));
    script.push_back(move(0, 7, 8));  // with the button held
    run(script);
    const std::vector<Message> got = drain();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].kind, MessageKind::MouseMove);
    EXPECT_EQ(got[0].x, 2999 % 640);
    EXPECT_EQ(got[0].y, 2999 % 480);
    EXPECT_EQ(got[0].wParam, 0u);
    EXPECT_EQ(got[1].kind, MessageKind::ButtonDown);
    EXPECT_EQ(got[2].kind, MessageKind::MouseMove);
    EXPECT_EQ(got[2].x, 7);
    EXPECT_EQ(got[2].y, 8);
    EXPECT_EQ(got[2].wParam, platform::mouseLeftButtonBit);
}

// A key, a click, a close request, a posted quit or a character after a move ends
// the merging; the order of everything stays.
TEST_F(MessageQueue, AnyOtherMessageEndsTheMerging)
{
    run({move(0, 1, 1), at(0, Event::Kind::Key, 'A'), move(0, 2, 2), move(0, 3, 3),
         at(0, Event::Kind::Close), move(0, 4, 4)});
    using K = MessageKind;
    std::vector<Message> got = drain();
    EXPECT_EQ(kinds(got), (std::vector<K>{K::MouseMove, K::KeyDown, K::KeyUp, K::MouseMove, K::Close, K::MouseMove}));
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
TEST_F(MessageQueue, MovesAfterTheTakenOneQueueAgain)
{
    run({move(0, 1, 1), move(1.0 / 60, 2, 2), move(1.0 / 60, 3, 3)});
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
TEST_F(MessageQueue, KeyDownsGiveTheCharactersOfAUsKeyboard)
{
    run({});
    const struct { std::uint32_t key; std::uint32_t character; } cases[] = {
        {'Q', 'q'}, {'7', '7'}, {0xBA, ';'}, {0xDE, '\''}, {0xC0, '`'},   // letters, digits, punctuation
        {0x65, '5'}, {0x6A, '*'}, {0x6E, '.'},                         // the keypad
        {0x10, 0}, {0x11, 0}, {0x14, 0}, {0x2E, 0}, {0x21, 0}, {0x87, 0},  // Shift, Control, Caps Lock,
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

}  // namespace
