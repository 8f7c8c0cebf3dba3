// The headless back end really draws: off-screen GL read back as pictures.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <cstdio>

#include "platform/common/perspective.h"
#include "platform/headless.h"
#include "platform/platform.h"
#include "tiny_module.h"

namespace {

void startGl(int scale)
{
    headless::Config config;
    config.scale = scale;
    headless::configure(config);
    ASSERT_TRUE(platform::registerWindowClass(nullptr));
    ASSERT_TRUE(platform::createWindow("test", 0, 0, 640, 480, platform::WindowStyle::FullScreen));
    ASSERT_TRUE(platform::createGlContext(32, 16));
}

const std::uint8_t* pixel(const headless::Picture& p, int x, int y)
{
    return &p.rgba[(std::size_t(y) * p.width + x) * 4];
}

// Clear to blue, paint the top quarter red with the program's own kind of set-up:
// read back, the top row comes first.
TEST(HeadlessGl, DrawsAndReadsBackTopRowFirst)
{
    startGl(1);
    glViewport(0, 0, 640, 480);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 640, 480, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor3f(1, 0, 0);
    glBegin(GL_QUADS);
    glVertex2f(0, 0);
    glVertex2f(640, 0);
    glVertex2f(640, 120);
    glVertex2f(0, 120);
    glEnd();
    const headless::Picture picture = headless::readPicture();
    ASSERT_EQ(picture.width, 640);
    ASSERT_EQ(picture.height, 480);
    const std::uint8_t* top = pixel(picture, 5, 5);
    const std::uint8_t* bottom = pixel(picture, 5, 470);
    EXPECT_EQ(top[0], 255);
    EXPECT_EQ(top[2], 0);
    EXPECT_EQ(bottom[0], 0);
    EXPECT_EQ(bottom[2], 255);

    const std::string path = scratchDirectory() + "/picture.png";
    EXPECT_TRUE(headless::savePng(picture, path));
    std::FILE* png = std::fopen(path.c_str(), "rb");
    ASSERT_NE(png, nullptr);
    unsigned char signature[8] = {};
    EXPECT_EQ(std::fread(signature, 1, 8, png), 8u);
    std::fclose(png);
    EXPECT_EQ(signature[1], 'P');
    std::remove(path.c_str());
    EXPECT_FALSE(headless::savePng(headless::Picture(), path));

    platform::destroyGlContext();
    EXPECT_TRUE(headless::readPicture().rgba.empty());
    headless::configure({});
}

TEST(HeadlessGl, ScaleMultipliesTheDrawable)
{
    startGl(2);
    EXPECT_EQ(platform::pixelScale(), 2);
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    platform::swapBuffers();
    const headless::Picture picture = headless::readPicture();
    EXPECT_EQ(picture.width, 1280);
    EXPECT_EQ(picture.height, 960);
    EXPECT_EQ(pixel(picture, 1279, 959)[1], 255);
    headless::configure({});
}

// The projection matches the classic utility's: checked on the matrix GL ends up with.
TEST(HeadlessGl, PerspectiveMultipliesTheCurrentMatrix)
{
    startGl(1);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glScaled(2, 2, 2);
    platform::perspective(90, 2, 1, 3);
    double m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    // cot(45 degrees) = 1; aspect 2; depth terms (3+1)/(1-3) and 2*1*3/(1-3); the scale
    // doubles the x, y and z rows, not w.
    const double expected[16] = {1, 0, 0, 0, 0, 2, 0, 0, 0, 0, -4, -1, 0, 0, -6, 0};
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(m[i], expected[i], 1e-12) << i;
    double unused[16];
    EXPECT_FALSE(platform::perspectiveMatrix(45, 1, 5, 5, unused));
    EXPECT_FALSE(platform::perspectiveMatrix(45, 0, 0.1, 1000, unused));
    EXPECT_FALSE(platform::perspectiveMatrix(0, 1, 0.1, 1000, unused));
    headless::configure({});
}

}  // namespace
