// The procedural textures in a fresh process on the headless renderer: three
// consecutive ids from 0 in the order haze, sun, sun mask, and their texels.
#include <gtest/gtest.h>

#include "gfx/color_canvas.h"
#include "gfx/procedural.h"
#include "gl_support.h"
#include "media/texture.h"

namespace {

constexpr int size = 256;

int distance2(int row, int column) { return (row - 128) * (row - 128) + (column - 128) * (column - 128); }

TEST(Procedural, ThreeTexturesInOrder)
{
    ASSERT_TRUE(startHeadlessGl());
    createProceduralTextures();
    EXPECT_EQ(procedural.hazeTexture, 0u);
    EXPECT_EQ(procedural.sunTexture, 1u);
    EXPECT_EQ(procedural.sunMaskTexture, 2u);
    EXPECT_EQ(textureState.nextTextureId, 3u);

    int width = 0, height = 0;
    const auto haze = readTexture(procedural.hazeTexture, width, height);
    ASSERT_EQ(width, size);
    ASSERT_EQ(height, size);
    const auto sun = readTexture(procedural.sunTexture, width, height);
    const auto mask = readTexture(procedural.sunMaskTexture, width, height);
    ASSERT_EQ(sun.size(), haze.size());
    ASSERT_EQ(mask.size(), haze.size());

    // Texel (s, t) is canvas pixel (row t, column s).
    auto at = [](const std::vector<std::uint8_t>& t, int row, int column, int channel) {
        return int(t[(std::size_t(row) * size + column) * 3 + channel]);
    };
    EXPECT_EQ(at(haze, 128, 128, 0), 235);
    EXPECT_EQ(at(haze, 128, 128, 1), 222);
    EXPECT_EQ(at(haze, 128, 128, 2), 180);
    EXPECT_EQ(at(haze, 128 + 85, 128, 0), 117);

    ColorCanvas expectedHaze(size, size);
    expectedHaze.drawRadialGradient(128, 128, 120, Color(235, 222, 180));
    for (int row = 0; row < size; ++row) {
        for (int column = 0; column < size; ++column) {
            const bool inside = distance2(row, column) <= 80 * 80;
            const Color e = expectedHaze.pixel(row, column);
            ASSERT_EQ(at(haze, row, column, 1), e.green()) << row << "," << column;
            if (distance2(row, column) >= 120 * 120) {
                ASSERT_EQ(at(haze, row, column, 0), 0);
            }
            for (int c = 0; c < 3; ++c) {
                ASSERT_EQ(at(sun, row, column, c), inside ? 255 : 0) << row << "," << column;
                ASSERT_EQ(at(mask, row, column, c), 255 - at(sun, row, column, c));
            }
        }
    }
}

}  // namespace
