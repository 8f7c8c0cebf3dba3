// Drawing with textures on the headless renderer: the bind cache, tinting, and the
// colour+mask sprite rule composing frame x mask + colour.
#include <gtest/gtest.h>

#include "gl_support.h"
#include "media/texture.h"

namespace {

using Rgb = std::vector<int>;

// An 8 x 8 texture whose left half is `left` and right half `right`.
GLuint halves(const Rgb& left, const Rgb& right)
{
    std::vector<std::uint8_t> rgb;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            for (int c = 0; c < 3; ++c) rgb.push_back(std::uint8_t(x < 4 ? left[c] : right[c]));
    return uploadTexture(rgb.data(), 8, 8);
}

GLint boundNow()
{
    GLint id = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &id);
    return id;
}

void clearTo(const Rgb& colour)
{
    glClearColor(colour[0] / 255.0f, colour[1] / 255.0f, colour[2] / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

void expectNear(const Rgb& got, const Rgb& expected)
{
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(got[c], expected[c], 2) << "channel " << c;
}

class TextureDraw : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(startHeadlessGl());
        pixelProjection();
        textureState.boundTexture = -1;  // the new context has nothing bound
    }
};

TEST_F(TextureDraw, SecondBindOfTheSameIdMakesNoGlCall)
{
    const GLuint first = halves({1, 2, 3}, {4, 5, 6});
    const GLuint second = halves({7, 8, 9}, {1, 2, 3});
    bindTexture(first);
    EXPECT_EQ(boundNow(), GLint(first));
    glBindTexture(GL_TEXTURE_2D, second);  // behind the cache's back
    bindTexture(first);                    // cached: must not touch GL
    EXPECT_EQ(boundNow(), GLint(second));
    bindTexture(second);
    EXPECT_EQ(boundNow(), GLint(second));
    bindTexture(first);
    EXPECT_EQ(boundNow(), GLint(first));
    EXPECT_EQ(textureState.boundTexture, GLint(first));
}

TEST_F(TextureDraw, RedColourShowsTheRedChannelOnly)
{
    const GLuint picture = halves({200, 150, 100}, {30, 250, 90});
    const GLuint coverMask = halves({0, 0, 0}, {0, 0, 0});
    clearTo({0, 0, 0});
    glEnable(GL_BLEND);
    drawSprite(TexturePair{picture, coverMask}, 1.0f, 0.0f, 0.0f, [] { texturedQuad(0, 0, 640, 480); });
    expectNear(pixelAt(160, 240), {200, 0, 0});
    expectNear(pixelAt(480, 240), {30, 0, 0});
}

// Frame (120, 60, 200) under a mask that is white on the left, grey on the right,
// and a colour picture that is black on the left, (100, 150, 90) on the right.
TEST_F(TextureDraw, SpriteRuleIsFrameTimesMaskPlusColour)
{
    const Rgb frame = {120, 60, 200};
    const GLuint mask = halves({255, 255, 255}, {128, 128, 128});
    const GLuint colour = halves({0, 0, 0}, {100, 150, 90});
    clearTo(frame);
    glEnable(GL_BLEND);
    glColor3f(1, 1, 1);
    drawSprite(TexturePair{colour, mask}, [] { texturedQuad(0, 0, 640, 480); });
    expectNear(pixelAt(160, 240), frame);  // background stays
    Rgb expected;
    for (int c = 0; c < 3; ++c)
        expected.push_back(std::min(255, frame[c] * 128 / 255 + Rgb{100, 150, 90}[c]));
    expectNear(pixelAt(480, 240), expected);
    EXPECT_EQ(textureState.boundTexture, GLint(colour));
}

// A 16 x 16 picture of varied bytes (grey when `grey`), as RGB rows.
std::vector<std::uint8_t> variedPicture(unsigned seed, bool grey)
{
    std::vector<std::uint8_t> rgb;
    for (int i = 0; i < 16 * 16; ++i) {
        seed = seed * 1103515245u + 12345u;
        for (int c = 0; c < 3; ++c) rgb.push_back(std::uint8_t(seed >> (grey ? 16 : 8 * c + 8)));
    }
    return rgb;
}

std::vector<std::uint8_t> frameAfterSprite(const TexturePair& sprite)
{
    clearTo({120, 60, 200});
    glEnable(GL_BLEND);
    glColor3f(1, 1, 1);
    drawSprite(sprite, [] { texturedQuad(0.1f, 0.9f, 0.2f, 0.7f, 13, 601, 7, 455); });
    std::vector<std::uint8_t> pixels(640 * 480 * 4);
    glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    for (std::size_t i = 3; i < pixels.size(); i += 4) pixels[i] = 0;  // only colour counts
    return pixels;
}

// Filtered between texels and stretched, the one pass must give every pixel the
// two passes give, and leave the colour pass's state.
TEST_F(TextureDraw, SpriteWithMaskInAlphaDrawsTheTwoPassesPixels)
{
    const std::vector<std::uint8_t> colourRgb = variedPicture(1, false), maskRgb = variedPicture(2, true);
    TexturePair sprite{uploadTexture(colourRgb.data(), 16, 16), uploadTexture(maskRgb.data(), 16, 16)};
    const std::vector<std::uint8_t> twoPasses = frameAfterSprite(sprite);
    ASSERT_TRUE(putMaskIntoAlpha(sprite.colour, colourRgb.data(), maskRgb.data(), 16, 16));
    sprite.maskInAlpha = true;
    EXPECT_TRUE(frameAfterSprite(sprite) == twoPasses);
    GLint blend[2];
    glGetIntegerv(GL_BLEND_SRC, &blend[0]);
    glGetIntegerv(GL_BLEND_DST, &blend[1]);
    EXPECT_EQ(blend[0], GL_ONE);
    EXPECT_EQ(blend[1], GL_ONE);
    EXPECT_EQ(textureState.boundTexture, GLint(sprite.colour));
}

// The logo is drawn under a colour with alpha 0, which would wipe a mask in
// alpha: such a sprite still goes mask pass, then colour pass.
TEST_F(TextureDraw, SpriteUnderTransparentColourKeepsTwoPasses)
{
    const std::vector<std::uint8_t> colourRgb(8 * 8 * 3, 40), maskRgb(8 * 8 * 3, 128);
    TexturePair sprite{uploadTexture(colourRgb.data(), 8, 8), uploadTexture(maskRgb.data(), 8, 8)};
    sprite.maskInAlpha = putMaskIntoAlpha(sprite.colour, colourRgb.data(), maskRgb.data(), 8, 8);
    clearTo({200, 100, 0});
    glEnable(GL_BLEND);
    glColor4f(1, 1, 1, 0);
    drawSprite(sprite, [] { texturedQuad(0, 0, 640, 480); });
    expectNear(pixelAt(320, 240), {200 * 128 / 255 + 40, 100 * 128 / 255 + 40, 40});
}

TEST_F(TextureDraw, ColouredMaskDoesNotGoIntoAlpha)
{
    std::vector<std::uint8_t> colourRgb(8 * 8 * 3, 40), maskRgb(8 * 8 * 3, 128);
    maskRgb[3 * 20 + 1] = 129;
    const GLuint colour = uploadTexture(colourRgb.data(), 8, 8);
    EXPECT_FALSE(putMaskIntoAlpha(colour, colourRgb.data(), maskRgb.data(), 8, 8));
}

}  // namespace
