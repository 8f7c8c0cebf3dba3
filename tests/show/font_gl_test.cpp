// drawText on the headless renderer: a glyph lands where the projection of its
// centre (x, y, -25) says, in the highlight colour, and the GL state is left as
// the text drawing promises.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "media/texture.h"
#include "platform/headless.h"
#include "show/font.h"

namespace {

long ignoreMessages(const platform::Message&) { return 0; }

class FontOnScreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        headless::configure(headless::Config{});
        ASSERT_TRUE(platform::registerWindowClass(ignoreMessages));
        ASSERT_TRUE(platform::createWindow("font", 0, 0, 640, 480, platform::WindowStyle::Borderless));
        ASSERT_TRUE(platform::createGlContext(32, 16));
        glViewport(0, 0, 640, 480);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        platform::perspective(45.0, 640.0 / 480.0, 0.1, 1000.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        // Every cell of the font solid: a white picture and an all-black mask.
        const std::vector<std::uint8_t> white(16 * 16 * 3, 255), black(16 * 16 * 3, 0);
        colour = uploadTexture(white.data(), 16, 16);
        mask = uploadTexture(black.data(), 16, 16);
    }
    void TearDown() override { platform::destroyGlContext(); }

    // Picture pixel (column, row from the top) of a point at depth 25.
    static void project(float x, float y, int& column, int& row)
    {
        const double f = 1.0 / std::tan(22.5 * M_PI / 180.0);
        column = int(320.0 + f / (640.0 / 480.0) * x / 25.0 * 320.0);
        row = int(240.0 - f * y / 25.0 * 240.0);
    }

    GLuint colour = 0, mask = 0;
};

struct Pixel {
    int r, g, b;
};

Pixel at(const headless::Picture& p, int column, int row)
{
    const std::uint8_t* px = &p.rgba[(std::size_t(row) * p.width + column) * 4];
    return Pixel{px[0], px[1], px[2]};
}

TEST_F(FontOnScreen, HighlightedGlyphIsCentredOnItsProjectedPosition)
{
    glClearColor(0.0f, 0.0f, 1.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    Font font(colour, mask);
    drawText(font, "$a", 3.0f, 2.0f);

    const headless::Picture picture = headless::readPicture();
    ASSERT_EQ(picture.width, 640);
    int column = 0, row = 0;
    project(3.0f, 2.0f, column, row);
    const Pixel centre = at(picture, column, row);
    EXPECT_EQ(centre.r, 255);
    EXPECT_EQ(centre.g, 0);
    EXPECT_EQ(centre.b, 0);
    // The quad is 0.4 x 1.0 units: about 9 x 23 pixels at this depth.
    for (int dx : {-3, 3}) EXPECT_EQ(at(picture, column + dx, row).r, 255) << dx;
    for (int dy : {-10, 10}) EXPECT_EQ(at(picture, column, row + dy).r, 255) << dy;
    for (int dx : {-7, 7}) EXPECT_EQ(at(picture, column + dx, row).b, 255) << dx;
    for (int dy : {-14, 14}) EXPECT_EQ(at(picture, column, row + dy).b, 255) << dy;

    GLfloat matrix[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
    for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(matrix[i], (i % 5 == 0) ? 1.0f : 0.0f);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
}

}  // namespace
