// drawText on the headless renderer: a glyph lands where the projection of its
// centre (x, y, -25) says, in the highlight colour, and the GL state is left as
// the text drawing promises; drawn in one blend state (mask in alpha), a text
// gives the pixels and the end state of glyph-by-glyph drawing.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "media/texture.h"
#include "platform/headless.h"
#include "show/font.h"

namespace {

long ignoreMessages(const platform::Message&) { return 0; }

// Picture pixel (column, row from the top) of a point at depth 25.
void project(float x, float y, int& column, int& row)
{
    const double f = 1.0 / std::tan(22.5 * M_PI / 180.0);
    column = int(320.0 + f / (640.0 / 480.0) * x / 25.0 * 320.0);
    row = int(240.0 - f * y / 25.0 * 240.0);
}

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

void expectHighlightedGlyphAt(const Font& font)
{
    glClearColor(0.0f, 0.0f, 1.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
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

TEST_F(FontOnScreen, HighlightedGlyphIsCentredOnItsProjectedPosition)
{
    expectHighlightedGlyphAt(Font(colour, mask));
    const std::vector<std::uint8_t> white(16 * 16 * 3, 255), black(16 * 16 * 3, 0);
    const Font inAlpha(white.data(), black.data(), 16, 16);
    ASSERT_TRUE(inAlpha.maskInAlpha);
    expectHighlightedGlyphAt(inAlpha);
}

// Pictures whose every texel counts: colours and grey mask levels vary across each
// cell up to its edges, so wherever neighbouring quads overlap, the order of masks
// and colours shows. Odd steps keep the pattern from lining up with the cells.
struct BusyFont {
    std::vector<std::uint8_t> colour, mask;
    BusyFont() : colour(256 * 256 * 3), mask(256 * 256 * 3)
    {
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x) {
                const std::size_t i = (std::size_t(y) * 256 + x) * 3;
                colour[i] = std::uint8_t(x * 7 + y * 3);
                colour[i + 1] = std::uint8_t(x * 5 + y * 11);
                colour[i + 2] = std::uint8_t(x * 13 + y);
                mask[i] = mask[i + 1] = mask[i + 2] = std::uint8_t(96 + (x * 3 + y * 5) % 160);
            }
    }
};

// 30 lines of 90 characters with "$" marks: wider and taller than the view, so
// that glyphs lie wholly inside, across every border and wholly outside it.
std::string screenfulOfText()
{
    std::string text;
    for (int line = 0; line < 30; ++line) {
        for (int i = 0; i < 90; ++i) text += char('a' + (line * 7 + i * 3) % 26);
        text.insert(text.size() - 40 - line, "$");
        text += '\n';
    }
    return text;
}

struct DrawnText {
    std::vector<std::uint8_t> rgba;
    GLint blendSource = 0, blendDestination = 0;
    GLfloat colour[4] = {};
    std::int32_t bound = -1;
};

DrawnText drawOnBackground(const Font& font, const std::string& text, float depthShift)
{
    glClearColor(0.2f, 0.5f, 0.7f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glPushMatrix();
    glTranslatef(0.3f, -0.1f, depthShift);
    drawText(font, text.c_str(), -14.7f, 11.1f);
    glPopMatrix();
    DrawnText drawn;
    drawn.rgba = headless::readPicture().rgba;
    glGetIntegerv(GL_BLEND_SRC, &drawn.blendSource);
    glGetIntegerv(GL_BLEND_DST, &drawn.blendDestination);
    glGetFloatv(GL_CURRENT_COLOR, drawn.colour);
    drawn.bound = textureState.boundTexture;
    return drawn;
}

TEST_F(FontOnScreen, OneBlendStateGivesThePixelsAndStateOfGlyphByGlyphDrawing)
{
    const BusyFont pictures;
    const Font inAlpha(pictures.colour.data(), pictures.mask.data(), 256, 256);
    ASSERT_TRUE(inAlpha.maskInAlpha);
    const Font glyphByGlyph(inAlpha.colourTexture, inAlpha.maskTexture);
    ASSERT_FALSE(glyphByGlyph.maskInAlpha);
    const std::string text = screenfulOfText();
    glEnable(GL_BLEND);
    for (float depthShift : {0.0f, 6.0f, 13.0f}) {
        const DrawnText batched = drawOnBackground(inAlpha, text, depthShift);
        const DrawnText reference = drawOnBackground(glyphByGlyph, text, depthShift);
        std::size_t differing = 0;
        for (std::size_t i = 0; i < batched.rgba.size(); i += 4)
            differing += std::memcmp(&batched.rgba[i], &reference.rgba[i], 3) != 0;
        EXPECT_EQ(differing, 0u) << "depth shift " << depthShift;
        EXPECT_EQ(batched.blendSource, reference.blendSource);
        EXPECT_EQ(batched.blendDestination, reference.blendDestination);
        for (int c = 0; c < 4; ++c) EXPECT_EQ(batched.colour[c], reference.colour[c]);
        EXPECT_EQ(batched.bound, reference.bound);
    }
}

TEST_F(FontOnScreen, MaskThatIsNotGreyStaysASeparatePicture)
{
    std::vector<std::uint8_t> tinted(16 * 16 * 3, 255);
    tinted[4] = 200;  // one pixel's green
    const std::vector<std::uint8_t> white(16 * 16 * 3, 255);
    EXPECT_FALSE(Font(white.data(), tinted.data(), 16, 16).maskInAlpha);
}

}  // namespace
