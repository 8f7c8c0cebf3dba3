// The whole program, run from the built stuff.dat through the capture tool, judged
// on its pictures. Each test is one fresh run of the program.
//
// Positions: the scene's layers at depth 6 span x in [-3.31, 3.31] and y in
// [-2.49, 2.49]; text at depth 25 spans [-13.81, 13.81] by [-10.36, 10.36].
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <ostream>

#include "assets/media_manifest.h"
#include "support/capture_harness.h"

namespace {

struct Rgb {
    int r = 0, g = 0, b = 0;
};

// The colour at a pixel; -1s outside the picture (a frame the run did not give).
Rgb pixel(const RgbaPicture& f, int column, int row)
{
    if (column >= f.width || row >= f.height) return Rgb{-1, -1, -1};
    const std::uint8_t* p = &f.pixels[(std::size_t(row) * f.width + column) * 4];
    return Rgb{p[0], p[1], p[2]};
}

// Largest channel difference of two colours.
int colourDistance(Rgb a, Rgb b)
{
    return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

// Sum of the channel differences of two colours.
int channelSum(Rgb a, Rgb b) { return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b); }

// Share of pixels in the rectangle whose colours differ by more than `threshold`.
double changedShare(const RgbaPicture& a, const RgbaPicture& b, int x0, int y0, int x1, int y1, int threshold)
{
    if (a.pixels.empty() || b.pixels.empty()) return -1.0;
    int changed = 0, total = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x, ++total)
            changed += colourDistance(pixel(a, x, y), pixel(b, x, y)) > threshold;
    return total ? double(changed) / total : 0.0;
}

// The vertical shift (pixels, content of `b` moved up relative to `a`) within
// -range..range that best aligns the rectangle of `a` with `b`; `error` receives
// the mean absolute difference at that shift.
int bestVerticalShift(const RgbaPicture& a, const RgbaPicture& b, int x0, int y0, int x1, int y1, int range,
                      double& error)
{
    int best = 0;
    error = 1e9;
    if (a.pixels.empty() || b.pixels.empty()) return best;
    for (int shift = -range; shift <= range; ++shift) {
        double sum = 0;
        int count = 0;
        for (int y = y0; y < y1; ++y) {
            const int yb = y - shift;
            if (yb < 0 || yb >= b.height) continue;
            for (int x = x0; x < x1; ++x, ++count) sum += channelSum(pixel(a, x, y), pixel(b, x, yb));
        }
        const double mean = count ? sum / count : 1e9;
        if (mean < error) {
            error = mean;
            best = shift;
        }
    }
    return best;
}

// Mean absolute channel difference over the rectangle.
double meanDifference(const RgbaPicture& a, const RgbaPicture& b, int x0, int y0, int x1, int y1)
{
    if (a.pixels.empty() || b.pixels.empty()) return -1.0;
    double sum = 0;
    int count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x, ++count) sum += channelSum(pixel(a, x, y), pixel(b, x, y));
    return count ? sum / (3.0 * count) : 0.0;
}

// Share of pixels in the rectangle for which `test` holds.
double shareOf(const RgbaPicture& f, int x0, int y0, int x1, int y1, bool (*test)(Rgb))
{
    if (f.pixels.empty()) return -1.0;
    int hits = 0, count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x, ++count) hits += test(pixel(f, x, y));
    return count ? double(hits) / count : 0.0;
}

// Runs the show from `archive` at `fps` until the close request at `seconds`, with
// the input script `input` (in the test data folder) and keeping the frames `at`
// (times separated by commas); either may be empty.
CaptureResult runShow(const std::string& fps, const std::string& seconds, const std::string& input,
                      const std::string& at, const std::string& archive = builtArchive())
{
    std::vector<std::string> args = {"--fps", fps, "--seconds", seconds};
    if (!input.empty()) args.insert(args.end(), {"--input", std::string(ZW_SHOW_TEST_DATA "/") + input});
    if (!at.empty()) args.insert(args.end(), {"--png", "png", "--at", at});
    return runCapture(args, makeShowDir(archive));
}

// Packs an archive like the built stuff.dat from the built media files, leaving out
// `missing` and, when `invitation` is not empty, with that text as invitation.txt.
// Returns its path, or an empty string when the packer is not there or fails.
std::string packVariant(const std::vector<std::string>& missing, const std::string& invitation)
{
    const std::string media = ZW_MEDIA_DIR;
    if (!std::ifstream(ZW_RARPACK) || !std::ifstream(media + "/marlu.it")) return "";
    const std::string dir = makeTempDir();
    std::string names;
    for (const char* member : media::names) {
        if (std::find(missing.begin(), missing.end(), member) != missing.end()) continue;
        const bool replaced = !invitation.empty() && std::string(member) == "invitation.txt";
        writeFile(dir + "/" + member, replaced ? invitation : readFile(media + "/" + member));
        names += std::string(" ") + member;
    }
    const std::string command = "cd '" + dir + "' && '" + ZW_RARPACK + "' --quiet --password " +
                                media::archivePassword + " stuff.dat" + names + " > /dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return "";
    return dir + "/stuff.dat";
}

constexpr Rgb eveningSky{235, 177, 0};
constexpr Rgb daySky{47, 106, 195};
constexpr Rgb outroSky{215, 157, 0};
constexpr Rgb black{0, 0, 0};

// Pixel of a point on the depth-6 layer of the scene.
int sceneColumn(float x) { return int(320.0f + x / 3.3137f * 320.0f); }
int sceneRow(float y) { return int(240.0f - y / 2.4853f * 240.0f); }
// Pixel of a point at text depth.
int textColumn(float x) { return int(320.0f + x / 13.807f * 320.0f); }
int textRow(float y) { return int(240.0f - y / 10.355f * 240.0f); }

// A corner that neither rays, logo, landscape nor text reach: the clear colour.
Rgb skyCorner(const RgbaPicture& f) { return pixel(f, 4, 4); }

::testing::AssertionResult near(Rgb actual, Rgb expected, int tolerance)
{
    if (colourDistance(actual, expected) <= tolerance) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "(" << actual.r << ", " << actual.g << ", " << actual.b << ") is not within " << tolerance
           << " of (" << expected.r << ", " << expected.g << ", " << expected.b << ")";
}

#define SKIP_WITHOUT_CAPTURE()                                                                               \
    do {                                                                                                     \
        const std::string why = captureUnavailable();                                                        \
        if (!why.empty()) GTEST_SKIP() << "end-to-end run skipped: " << why;                                 \
    } while (0)

// The share of a logo piece's rectangle that changed between two frames.
double pieceChange(const RgbaPicture& a, const RgbaPicture& b, int piece)
{
    const float centre = -2.2f + 2.2f * piece;
    return changedShare(a, b, sceneColumn(centre - 0.7f), sceneRow(1.8f), sceneColumn(centre + 0.7f),
                        sceneRow(1.35f), 140);
}

// The bottom-left line: the hint, or the score line of the hunt.
const int hintLeft = textColumn(-13.6f), hintTop = textRow(-9.4f);
const int hintRight = textColumn(-7.3f), hintBottom = textRow(-10.2f);

double hintChange(const RgbaPicture& a, const RgbaPicture& b)
{
    return changedShare(a, b, hintLeft, hintTop, hintRight, hintBottom, 60);
}

// The font's light strokes, which neither sky nor landscape have down there.
bool isGlyphStroke(Rgb p) { return p.r > 215 && p.g > 215 && p.b > 215; }
double hintStrokes(const RgbaPicture& f)
{
    return shareOf(f, hintLeft, hintTop, hintRight, hintBottom, isGlyphStroke);
}

// Meadow and forest green: in the landscape, in no sky.
bool isGreen(Rgb p) { return p.g > p.r + 20 && p.g > p.b + 20; }

TEST(ShowEndToEnd, MainSceneFollowsItsScript)
{
    SKIP_WITHOUT_CAPTURE();
    const CaptureResult run =
        runShow("30", "26.1", "script.input", "1,2,2.3,6.5,6.8,11,11.3,15.9,19.5,21.9,22.3,23.5,24.9,26");
    ASSERT_TRUE(run.reportRead) << run.output;
    EXPECT_EQ(run.programExit, 0);
    EXPECT_TRUE(run.boxes.empty()) << run.boxes.front().text;

    // Evening before 16 s, day after 17.25 s.
    EXPECT_TRUE(near(skyCorner(run.pictureAt(1.0)), eveningSky, 3));
    EXPECT_TRUE(near(skyCorner(run.pictureAt(15.9)), eveningSky, 3));
    EXPECT_TRUE(near(skyCorner(run.pictureAt(19.5)), daySky, 3));

    // Each logo piece appears only after its time, and not before.
    struct Step {
        double before, after;
        int piece;
    };
    for (const Step& s : {Step{2.0, 2.3, 0}, Step{6.5, 6.8, 1}, Step{11.0, 11.3, 2}}) {
        const RgbaPicture before = run.pictureAt(s.before), after = run.pictureAt(s.after);
        EXPECT_GT(pieceChange(before, after, s.piece), 0.15) << "piece " << s.piece + 1;
        for (int later = s.piece + 1; later < 3; ++later)
            EXPECT_LT(pieceChange(before, after, later), 0.05) << "piece " << later + 1 << " at " << s.after;
    }

    // The landscape rises into the bottom of the picture after 16 s.
    const int bottom = sceneRow(-2.2f);
    EXPECT_LT(shareOf(run.pictureAt(15.9), 0, bottom, 640, 480, isGreen), 0.01);
    EXPECT_GT(shareOf(run.pictureAt(19.5), 0, bottom, 640, 480, isGreen), 0.2);

    // The hint line from 22 s.
    EXPECT_LT(hintStrokes(run.pictureAt(21.9)), 0.005);
    EXPECT_GT(hintStrokes(run.pictureAt(22.3)), 0.015);

    // The pointer appears where the show held the cursor: in the middle of the sun,
    // although the mouse was moved away before 22 s.
    EXPECT_GT(changedShare(run.pictureAt(21.9), run.pictureAt(23.5), 308, 228, 332, 252, 60), 0.1);

    // The scroller's panel tints the sky from 25 s.
    EXPECT_TRUE(near(pixel(run.pictureAt(24.9), 40, 20), daySky, 3));
    EXPECT_GT(pixel(run.pictureAt(26.0), 40, 20).b, 212);
}

// The text region inside the panel, clear of the pointer at either edge.
constexpr int textLeft = 48, textRight = 580, textTop = 60, textBottom = 420;

TEST(ShowEndToEnd, ScrollingMovesTheTextAFrameAtATimeWithinItsRange)
{
    SKIP_WITHOUT_CAPTURE();
    const CaptureResult run = runShow("10", "125.1", "scroll.input", "28.4,36.4,38,38.5,102.5,124.9");
    ASSERT_TRUE(run.reportRead) << run.output;
    EXPECT_EQ(run.programExit, 0);

    double error = 0;
    // Held at the top edge at the first line: nothing moves.
    EXPECT_EQ(bestVerticalShift(run.pictureAt(28.4), run.pictureAt(36.4), textLeft, textTop, textRight,
                                textBottom, 20, error),
              0);
    // Five frames at the bottom edge: 5 x 0.32 units, 37 pixels at text depth.
    EXPECT_NEAR(bestVerticalShift(run.pictureAt(38.0), run.pictureAt(38.5), textLeft, textTop, textRight,
                                  textBottom, 60, error),
                37, 1);
    // 656 steps down from 8 reach 217.92; 100 steps up from 250, where the range
    // ends, reach 218: two pixels apart. Without that end the way back would have
    // started from 257.6, 180 pixels further on.
    const RgbaPicture down = run.pictureAt(102.5), up = run.pictureAt(124.9);
    const int top = 20, bottom = 200;  // the text's last lines
    EXPECT_GT(shareOf(down, textLeft, top, textRight, bottom, isGlyphStroke), 0.01);
    EXPECT_GT(shareOf(up, textLeft, top, textRight, bottom, isGlyphStroke), 0.01);
    EXPECT_NEAR(bestVerticalShift(down, up, textLeft, top, textRight, bottom, 60, error), 2, 2);
}

TEST(ShowEndToEnd, HiddenHuntThenOutroToItsOwnEnd)
{
    SKIP_WITHOUT_CAPTURE();
    // 80 s is a safety net; the outro ends the program by itself.
    const CaptureResult run = runShow("10", "80", "hunt.input", "25.9,28,32,45.5,46.5,50.5,59.5");
    ASSERT_TRUE(run.reportRead) << run.output;

    // Unlocked: the score line takes the hint's place and the panel is gone.
    EXPECT_GT(hintChange(run.pictureAt(25.9), run.pictureAt(28.0)), 0.1);
    EXPECT_GT(pixel(run.pictureAt(25.9), 40, 20).b, 212);
    EXPECT_TRUE(near(pixel(run.pictureAt(28.0), 40, 20), daySky, 3));

    // Shots hit: the number after "dead: " (the 22nd character) is no longer 0.
    // Its cell is compared with the same cell while it still showed 0.
    const int digit = textColumn(-13.5f + 21 * 0.32f);
    const double stillZero =
        meanDifference(run.pictureAt(28.0), run.pictureAt(32.0), digit - 4, hintTop, digit + 5, hintBottom);
    const double afterShots =
        meanDifference(run.pictureAt(32.0), run.pictureAt(45.5), digit - 4, hintTop, digit + 5, hintBottom);
    EXPECT_GT(afterShots, 3.0 * stillZero + 8.0);

    // The outro starts in the main scene's day colours and turns to deep orange,
    // then fades to black.
    EXPECT_TRUE(near(skyCorner(run.pictureAt(46.5)), daySky, 3));
    EXPECT_TRUE(near(skyCorner(run.pictureAt(50.5)), outroSky, 3));
    EXPECT_TRUE(near(skyCorner(run.pictureAt(59.5)), black, 3));

    // And it ends the program just after its 17th second, with exit code 0.
    EXPECT_EQ(run.programExit, 0);
    EXPECT_GT(run.seconds, 46.0 + 17.0);
    EXPECT_LT(run.seconds, 46.0 + 17.4);
}

TEST(ShowEndToEnd, EscapeEndsTheOutroOnlyAfterItsEleventhSecond)
{
    SKIP_WITHOUT_CAPTURE();
    const CaptureResult run = runShow("20", "40", "escape.input", "5.5,9");
    ASSERT_TRUE(run.reportRead) << run.output;
    EXPECT_TRUE(near(skyCorner(run.pictureAt(5.5)), eveningSky, 3));
    EXPECT_TRUE(near(skyCorner(run.pictureAt(9.0)), outroSky, 3));
    EXPECT_EQ(run.programExit, 0);
    // Not at 10.9 s of the outro (15.9 s), but at 11.1 s (16.1 s).
    EXPECT_GT(run.seconds, 16.0);
    EXPECT_LT(run.seconds, 16.3);
}

TEST(ShowEndToEnd, SameStateAtThirtySecondsWhateverTheFrameRate)
{
    SKIP_WITHOUT_CAPTURE();
    // The hunt unlocked at once: no invitation text to draw, which the software
    // renderer is slow at, and the same state otherwise (the birds start at 31 s).
    const CaptureResult a = runShow("30", "30.1", "unlock_early.input", "30");
    const CaptureResult b = runShow("240", "30.1", "unlock_early.input", "30");
    ASSERT_TRUE(a.reportRead) << a.output;
    ASSERT_TRUE(b.reportRead) << b.output;
    const double changed = changedShare(a.pictureAt(30.0), b.pictureAt(30.0), 0, 0, 640, 480, 40);
    std::printf("30 vs 240 fps: %.4f of the pixels differ\n", changed);
    EXPECT_GE(changed, 0.0);
    // What differs is the mountains' outline by a few pixels: their drift is summed
    // frame by frame, and its clock stops up to one frame past 8 s, after which the
    // mountains creep back by an amount that grows with the frame delta.
    EXPECT_LT(changed, 0.02);
}

struct BadMediaCase {
    const char* name;
    std::vector<std::string> missing;
    bool overlongText;
    const char* expectedBox;     // part of a message box's "caption: text"; null: none
    const char* expectedOutput;  // part of what the program printed; null: nothing asked
};

void PrintTo(const BadMediaCase& c, std::ostream* os) { *os << c.name; }

class BadMedia : public ::testing::TestWithParam<BadMediaCase> {};

// Whatever is wrong with the media, the program says so and ends cleanly.
TEST_P(BadMedia, ClearMessageAndCleanEnd)
{
    SKIP_WITHOUT_CAPTURE();
    const BadMediaCase& c = GetParam();
    const std::string archive = packVariant(c.missing, c.overlongText ? std::string(20000, 'a') + "\n" : "");
    if (archive.empty())
        GTEST_SKIP() << "end-to-end run skipped: the packer or the built media files are missing";
    // Past the scroller's start, should the show run.
    const CaptureResult run = runShow("5", "26", "", "", archive);
    ASSERT_TRUE(run.reportRead) << run.output;
    EXPECT_EQ(run.programExit, 0);
    if (c.expectedBox != nullptr) {
        bool found = false;
        for (const CapturedBox& box : run.boxes)
            found = found || (box.caption + ": " + box.text).find(c.expectedBox) != std::string::npos;
        EXPECT_TRUE(found) << "no message box with \"" << c.expectedBox << "\"";
    } else {
        EXPECT_TRUE(run.boxes.empty()) << run.boxes.front().text;
    }
    if (c.expectedOutput != nullptr) {
        EXPECT_NE(run.output.find(c.expectedOutput), std::string::npos) << run.output;
    }
}

INSTANTIATE_TEST_SUITE_P(
    ShowEndToEnd, BadMedia,
    ::testing::Values(
        BadMediaCase{"NoInvitation",
                     {"invitation.txt"},
                     false,
                     "FATAL MARLU: could not open: invitation.txt",
                     nullptr},
        BadMediaCase{
            "NoFont", {"font.bmp", "fontm.bmp"}, false, "Fatal Marlu: File font.bmp not found!", nullptr},
        BadMediaCase{"OverlongInvitation", {}, true, nullptr, "longer than 14335 bytes"}),
    [](const ::testing::TestParamInfo<BadMediaCase>& info) { return info.param.name; });

}  // namespace
