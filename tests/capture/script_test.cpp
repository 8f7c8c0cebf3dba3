// The capture's input script: every event kind, and mistakes named by line.
#include <gtest/gtest.h>

#include "tools/capture/script.h"

namespace {

using headless::Event;

TEST(CaptureScript, EveryEventKind)
{
    const char* text = "# warm-up\n"
                       "\n"
                       "0.5 key a\n"
                       "1 KEY Escape   # also in capitals\n"
                       "1 key 112\r\n"
                       "2 mouse 639 0\n"
                       "2.25 button down\n"
                       "2.5 button UP\n"
                       "3 answer no\n"
                       "3 answer yes\n"
                       "60 close\n";
    std::vector<Event> events;
    std::string error;
    ASSERT_TRUE(parseScript(text, events, error)) << error;
    ASSERT_EQ(events.size(), 9u);
    EXPECT_EQ(events[0].kind, Event::Kind::Key);
    EXPECT_EQ(events[0].key, 65);
    EXPECT_EQ(events[0].time, 0.5);
    EXPECT_EQ(events[1].key, 27);
    EXPECT_EQ(events[2].key, 112);
    EXPECT_EQ(events[3].kind, Event::Kind::Mouse);
    EXPECT_EQ(events[3].x, 639);
    EXPECT_EQ(events[3].y, 0);
    EXPECT_EQ(events[4].kind, Event::Kind::ButtonDown);
    EXPECT_EQ(events[5].kind, Event::Kind::ButtonUp);
    EXPECT_EQ(events[6].kind, Event::Kind::Answer);
    EXPECT_FALSE(events[6].yes);
    EXPECT_TRUE(events[7].yes);
    EXPECT_EQ(events[8].kind, Event::Kind::Close);
    EXPECT_EQ(events[8].time, 60.0);
}

TEST(CaptureScript, MistakesNameTheLine)
{
    struct Case {
        std::string text;
        const char* error;
    } cases[] = {
        {"1 key A\nsoon key B\n", "line 2: 'soon' is not a time in seconds"},
        {"-1 key A\n", "line 1: '-1' is not a time in seconds"},
        {"1 key AB\n", "line 1: 'AB' is not a key (A..Z, Escape or a number 1..255)"},
        {"1 key 256\n", "line 1: '256' is not a key (A..Z, Escape or a number 1..255)"},
        {"1 key\n", "line 1: 'key' takes 1 argument(s)"},
        {"1 key A B\n", "line 1: 'key' takes 1 argument(s)"},
        {"# c\n1 mouse 640 10\n", "line 2: mouse position must be X 0..639 and Y 0..479"},
        {"1 mouse 10\n", "line 1: 'mouse' takes 2 argument(s)"},
        {"1 button left\n", "line 1: button must be down or up"},
        {"1 answer maybe\n", "line 1: answer must be yes or no"},
        {"1 close now\n", "line 1: 'close' takes 0 argument(s)"},
        {"1 jump\n", "line 1: unknown event 'jump' (key, mouse, button, answer, close)"},
        {"1\n", "line 1: an event is missing after the time"},
        {std::string("1 key \xff\0\n", 9),
         "line 1: '\\xFF\\x00' is not a key (A..Z, Escape or a number 1..255)"},
        {"2 close\n1 close\n", "line 2: time 1 is earlier than the line before"},
    };
    for (const Case& c : cases) {
        std::vector<Event> events;
        std::string error;
        EXPECT_FALSE(parseScript(c.text, events, error)) << c.text;
        EXPECT_EQ(error, c.error);
    }
}

}  // namespace
