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

}  // namespace
