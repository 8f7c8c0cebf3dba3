// Vec3 and Color: the arithmetic and layouts the scene code relies on.
#include <gtest/gtest.h>

#include <cstring>

#include "gfx/color.h"
#include "gfx/vec3.h"

namespace {

TEST(Vec3, LengthScaleSubtract)
{
    EXPECT_EQ(Vec3().length(), 0.0f);
    EXPECT_EQ(Vec3(3, 4, 0).length(), 5.0f);
    EXPECT_EQ(Vec3().degToRad, 0.01745f);

    const Vec3 v(1, -2, 4);
    const Vec3 half = v * 0.5f;
    EXPECT_EQ(v.x, 1.0f);  // the operand is unchanged
    EXPECT_EQ(half.y, -1.0f);
    EXPECT_EQ(half.z, 2.0f);

    Vec3 w(1, 2, 3);
    EXPECT_TRUE(w -= w);
    EXPECT_EQ(w.length(), 0.0f);
    EXPECT_TRUE(w += Vec3(1, 1, 1));
    const Vec3 d = Vec3(5, 5, 5) - w;
    EXPECT_EQ(d.x + d.y + d.z, 12.0f);

    Vec3 s;
    const Vec3 copy = s.set(7, 8, 9);
    EXPECT_EQ(copy.z, 9.0f);
    EXPECT_EQ(s.x, 7.0f);
}

TEST(Color, ChannelsAndLayout)
{
    const Color c(235, 222, 180);
    EXPECT_EQ(c.red(), 235);
    EXPECT_EQ(c.green(), 222);
    EXPECT_EQ(c.blue(), 180);
    unsigned char bytes[3];
    std::memcpy(bytes, &c, 3);
    EXPECT_EQ(bytes[0], 235);
    EXPECT_EQ(bytes[2], 180);

    const Color black;
    EXPECT_EQ(black.red() + black.green() + black.blue(), 0);

    Color low(256 + 7, -1, 511);  // low bytes only
    EXPECT_EQ(low.red(), 7);
    EXPECT_EQ(low.green(), 255);
    EXPECT_EQ(low.blue(), 255);
    low.setGreen(300);
    EXPECT_EQ(low.green(), 44);

    Color a;
    const Color b = (a = c);
    EXPECT_EQ(b.green(), 222);
}

}  // namespace
