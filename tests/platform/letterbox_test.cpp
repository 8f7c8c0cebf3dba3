// The picture's place on a surface, and the pointer mapping through it.
#include <gtest/gtest.h>

#include "platform/common/letterbox.h"

namespace {

using platform::fitPicture;
using platform::Letterbox;

TEST(Letterbox, FitsWithAspectKeptAndCentred)
{
    const struct {
        int w, h;
        Letterbox expected;
    } cases[] = {
        {640, 480, {0, 0, 640, 480, 640, 480}},
        {1024, 768, {0, 0, 1024, 768, 640, 480}},      // exact 4:3: no bars
        {1920, 1080, {240, 0, 1440, 1080, 640, 480}},  // bars left and right
        {1280, 1024, {0, 32, 1280, 960, 640, 480}},    // bars top and bottom
        {1001, 480, {180, 0, 640, 480, 640, 480}},     // odd remainder: the extra pixel goes right
        {320, 240, {0, 0, 320, 240, 640, 480}},        // smaller than the picture
        {0, 480, {0, 0, 0, 0, 640, 480}},              // a minimised window: nothing to draw
    };
    for (const auto& c : cases) {
        const Letterbox box = fitPicture(c.w, c.h, 640, 480);
        EXPECT_EQ(box.x, c.expected.x) << c.w << "x" << c.h;
        EXPECT_EQ(box.y, c.expected.y) << c.w << "x" << c.h;
        EXPECT_EQ(box.width, c.expected.width) << c.w << "x" << c.h;
        EXPECT_EQ(box.height, c.expected.height) << c.w << "x" << c.h;
    }
}

TEST(Letterbox, SurfaceToPictureThroughScaleAndBars)
{
    const Letterbox box = fitPicture(1920, 1080, 640, 480);  // scale 2.25, bars of 240
    const struct {
        int sx, sy, x, y;
    } cases[] = {
        {240, 0, 0, 0},          // top-left pixel of the picture
        {1679, 1079, 639, 479},  // bottom-right
        {960, 540, 320, 240},    // centre
        {100, 500, 0, 222},      // on the left bar: the picture's left edge
        {1900, -5, 639, 0},      // right bar, above the window
    };
    for (const auto& c : cases) {
        int x = -1, y = -1;
        platform::surfaceToPicture(box, c.sx, c.sy, x, y);
        EXPECT_EQ(x, c.x) << c.sx << "," << c.sy;
        EXPECT_EQ(y, c.y) << c.sx << "," << c.sy;
    }
}

// Warping the pointer to a picture pixel and reading it back gives the same pixel,
// on every surface that shows the picture at least at its own size.
TEST(Letterbox, PictureToSurfaceRoundTrips)
{
    const int surfaces[][2] = {{640, 480},  {1024, 768},  {1920, 1080},
                               {1366, 768}, {1280, 1024}, {2560, 1600}};
    for (const auto& s : surfaces) {
        const Letterbox box = fitPicture(s[0], s[1], 640, 480);
        for (int x = 0; x < 640; ++x)
            for (int y = 0; y < 480; y += 7) {
                int sx, sy, bx, by;
                platform::pictureToSurface(box, x, y, sx, sy);
                platform::surfaceToPicture(box, sx, sy, bx, by);
                ASSERT_EQ(bx, x) << s[0] << "x" << s[1];
                ASSERT_EQ(by, y) << s[0] << "x" << s[1];
            }
    }
    int sx, sy;
    platform::pictureToSurface(fitPicture(1920, 1080, 640, 480), 320, 240, sx, sy);
    EXPECT_EQ(sx, 961);  // the centre of the picture's centre pixel
    EXPECT_EQ(sy, 541);
}

}  // namespace
