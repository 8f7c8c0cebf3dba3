// The whole show, evening to outro, recorded twice: by the capture command and by
// its twin that draws text glyph after glyph and every sprite mask pass then colour
// pass, as the show first did. Batching the glyphs and drawing sprites in one pass
// must not change a single pixel.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/capture_harness.h"

namespace {

// Evening and logo, landscape, the panel gliding in, text scrolling, the hunt with
// its score line, the outro's lines, the fade to black.
const std::vector<double> moments = {1,  3,  7,  12, 15.5, 17, 20, 23, 25.5, 26.5, 28,
                                     30, 31, 34, 38, 42,   45, 47, 50, 54,   58,   62};
constexpr double outroEnd = 46.0 + 17.0;

// Empty when equal; otherwise how many pixels differ and where the first one is.
std::string difference(const RgbaPicture& a, const RgbaPicture& b)
{
    if (a.pixels.empty() || a.width != b.width || a.height != b.height) return "sizes differ or unreadable";
    long count = 0, first = -1;
    for (std::size_t i = 0; i < a.pixels.size(); i += 4)
        if (std::memcmp(&a.pixels[i], &b.pixels[i], 4) != 0 && count++ == 0) first = long(i / 4);
    if (count == 0) return "";
    return std::to_string(count) + " pixels differ, the first at (" + std::to_string(first % a.width) + ", " +
           std::to_string(first / a.width) + ")";
}

CaptureResult record(const std::string& program)
{
    return recordMoments(program, ZW_SHOW_TEST_DATA "/whole_show.input", "10", 70, moments);
}

TEST(WholeShow, OneStateTextAndSpritesDrawTheSamePixelsAsTwoPasses)
{
    const CaptureResult oneState = record(captureProgram());
    const CaptureResult twoPass = record(ZW_PER_GLYPH_CAPTURE);
    for (const CaptureResult* run : {&oneState, &twoPass}) {
        ASSERT_EQ(run->exitCode, 0) << run->output;
        ASSERT_EQ(run->pngs.size(), moments.size()) << run->output;
        EXPECT_TRUE(run->boxes.empty());
        // The outro ended the program, not the time limit.
        EXPECT_LT(run->seconds, outroEnd + 0.5);
    }
    for (std::size_t i = 0; i < moments.size(); ++i)
        EXPECT_EQ(difference(oneState.pictureAt(moments[i]), twoPass.pictureAt(moments[i])), "")
            << "at " << moments[i] << " s";
}

}  // namespace
