// The score reader: what a composer writes becomes the right cells, and every
// mistake is reported with its file, line and reason.
#include "score.h"

#include <gtest/gtest.h>

namespace {

const char* head = "instrument lead acco loop=0.5\n"
                   "instrument drum kick\n"
                   "channel a lead note=g4\n"
                   "channel b drum\n";

bool read(const std::string& body, itw::Song& song, std::string& error)
{
    itw::ScoreParser parser;
    bool ok = parser.parse(head + body, "test.score", song) && parser.finish(song);
    error = parser.error();
    return ok;
}

TEST(Score, NoteNames)
{
    EXPECT_EQ(itw::parseNoteName("c5"), 60);
    EXPECT_EQ(itw::parseNoteName("c#5"), 61);
    EXPECT_EQ(itw::parseNoteName("a4"), 57);
    EXPECT_EQ(itw::parseNoteName("b9"), 119);
    EXPECT_EQ(itw::parseNoteName("c0"), 0);
    for (const char* bad : {"h5", "c", "c55", "c#", "C5", "cb5", ""})
        EXPECT_EQ(itw::parseNoteName(bad), -1) << bad;
}

TEST(Score, CellsStepsAndSuffixes)
{
    itw::Song song;
    std::string error;
    ASSERT_TRUE(read("pattern p 8\n"
                     "  a step=2 c5:40 x@drum !J47 ^\n"
                     "  b x . . . = . . .:12!A03\n"
                     "end\norder p\n",
                     song, error))
        << error;
    const auto& c = song.patterns[0].cells;
    EXPECT_EQ(c[0][0].note, 60);
    EXPECT_EQ(c[0][0].sample, 1);
    EXPECT_EQ(c[0][0].volume, 40);
    EXPECT_EQ(c[1][0].note, itw::noValue);  // the rest of the step is empty
    EXPECT_EQ(c[2][0].note, 55);            // "x" plays the channel's g4
    EXPECT_EQ(c[2][0].sample, 2);           // ... with the instrument named
    EXPECT_EQ(c[4][0].command, 10);         // J
    EXPECT_EQ(c[4][0].param, 0x47);
    EXPECT_EQ(c[4][0].note, itw::noValue);
    EXPECT_EQ(c[6][0].note, itw::noteCut);
    EXPECT_EQ(c[6][0].sample, itw::noValue);  // a cut plays no instrument
    EXPECT_EQ(c[0][1].note, 60);
    EXPECT_EQ(c[4][1].note, itw::noteOff);
    EXPECT_EQ(c[7][1].volume, 12);
    EXPECT_EQ(c[7][1].command, 1);
    EXPECT_EQ(c[7][1].param, 3);
}

TEST(Score, TracksTransposeRepeatAndDelay)
{
    itw::Song song;
    std::string error;
    ASSERT_TRUE(read("track t\n  c5 . x ^\nend\n"
                     "pattern p 16\n"
                     "  a {t+2} {t*2} {t>1}\n"
                     "  b | {t-12*4} |\n"
                     "end\norder p\n",
                     song, error))
        << error;
    const auto& c = song.patterns[0].cells;
    EXPECT_EQ(c[0][0].note, 62);
    EXPECT_EQ(c[2][0].note, 57);  // x = g4, transposed too
    EXPECT_EQ(c[4][0].note, 60);
    EXPECT_EQ(c[8][0].note, 60);
    EXPECT_EQ(c[12][0].note, itw::noValue);  // delayed by one row
    EXPECT_EQ(c[13][0].note, 60);
    EXPECT_EQ(c[15][0].note, 55);  // the delayed cut fell off
    EXPECT_EQ(c[0][1].note, 48);
    EXPECT_EQ(c[0][1].sample, 2);  // the channel's own instrument
}

TEST(Score, HeaderCommentsAndLoopMark)
{
    itw::Song song;
    std::string error;
    ASSERT_TRUE(read("title  my song  # a comment\nspeed 3\ntempo 150\nmix 60\n"
                     "pattern p 4\n  a c#5 . . .   # c# is a note, not a comment\nend\n"
                     "pattern q 4\nend\n"
                     "order p |: q\norder p\n",
                     song, error))
        << error;
    EXPECT_EQ(song.title, "my song");
    EXPECT_EQ(song.speed, 3);
    EXPECT_EQ(song.tempo, 150);
    EXPECT_EQ(song.mixVolume, 60);
    EXPECT_EQ(song.patterns[0].cells[0][0].note, 61);
    EXPECT_EQ(song.orders, (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(song.loopOrder, 1);
}

// Each bad line with the message it must give: "test.score:LINE: reason".
TEST(Score, BadLinesAreReportedWithLineAndReason)
{
    struct Case {
        const char* body;
        const char* message;
    };
    const Case cases[] = {
        {"bogus 1\n", "test.score:5: unknown statement 'bogus'"},
        {"speed 0\n", "test.score:5: speed takes one number from 1 to 255"},
        {"tempo fast\n", "test.score:5: tempo takes one number"},
        {"title\n", "test.score:5: title must have 1 to 25 characters"},
        {"instrument lead acco\n", "test.score:5: instrument 'lead' is defined twice"},
        {"instrument x\n", "test.score:5: instrument needs a name and a kind"},
        {"instrument x acco reeds\n", "test.score:5: expected key=value, got 'reeds'"},
        {"instrument x acco reeds=many\n", "test.score:5: parameter 'reeds' is not a number: 'many'"},
        {"instrument x acco base=h2\n", "test.score:5: base must be a note like c5"},
        {"channel c nothing\n", "test.score:5: unknown instrument 'nothing'"},
        {"channel c lead pan=65\n", "test.score:5: pan must be 0 to 64"},
        {"channel c lead colour=red\n", "test.score:5: unknown channel setting 'colour'"},
        {"channel a lead\n", "test.score:5: channel 'a' is defined twice"},
        {"end\n", "test.score:5: 'end' without a track or pattern"},
        {"pattern p 300\n", "test.score:5: pattern rows must be 1 to 200"},
        {"pattern p\n  a c5\n", "test.score:5: 'p' is not closed by 'end'"},
        {"pattern p 4\n  z c5 . . .\nend\n", "test.score:6: unknown channel 'z'"},
        {"pattern p 4\n  a c5 . .\nend\n",
         "test.score:7: channel 'a' has 3 rows in pattern 'p', which has 4"},
        {"pattern p 4\n  a h5 . . .\nend\n", "test.score:6: 'h5' is not a note"},
        {"pattern p 4\n  a c5@flute . . .\nend\n", "test.score:6: unknown instrument 'flute' in 'c5@flute'"},
        {"pattern p 4\n  a c5:99 . . .\nend\n", "test.score:6: volume must be 0 to 64 in 'c5:99'"},
        {"pattern p 4\n  a c5!j47 . . .\nend\n",
         "test.score:6: effect must be a capital letter and two hex digits"},
        {"pattern p 4\n  a c5!J4 . . .\nend\n", "test.score:6: effect must be a capital letter"},
        {"pattern p 4\n  a step=0 c5\nend\n", "test.score:6: step must be 1 to 200"},
        {"pattern p 4\n  a {nope}\nend\n", "test.score:6: unknown track 'nope'"},
        {"track t\n  c5\nend\npattern p 4\n  a {t*x} . . .\nend\n", "test.score:9: bad number after '*'"},
        {"track t\n  b9\nend\npattern p 1\n  a {t+1}\nend\n",
         "test.score:9: a note of '{t+1}' falls out of range"},
        // The row limit is checked as a line is read, before a reference expands.
        {"pattern p 4\n  a step=200 c5 . h5\nend\n", "test.score:6: more than 200 rows"},
        {"track t\n  step=100 c5\nend\npattern p 200\n  a {t*2} {t} h5\nend\n",
         "test.score:9: more than 200 rows"},
        {"track t\nend\n", "test.score:6: track 't' is empty"},
        {"pattern p 1\nend\norder q\n", "test.score:7: the order names an unknown pattern 'q'"},
        {"pattern p 1\nend\norder p |:\n", "the loop mark '|:' is at the end of the order list"},
        {"pattern p 1\nend\norder |: p |: p\n", "test.score:7: the order list has two loop marks"},
        {"pattern p 1\nend\n", "the score has no order list"},
    };
    for (const Case& c : cases) {
        itw::Song song;
        std::string error;
        EXPECT_FALSE(read(c.body, song, error)) << c.body;
        EXPECT_NE(error.find(c.message), std::string::npos) << "input:\n" << c.body << "gave: " << error;
    }
}

}  // namespace
