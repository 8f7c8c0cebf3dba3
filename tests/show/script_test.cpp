// The pure arithmetic of the show's script: day blend and colours, logo stages,
// scrolling, the credits bands, and reading the invitation text.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "gfx/color.h"
#include "platform/headless.h"
#include "show/landscape.h"
#include "show/main_scene.h"
#include "show/outro.h"
#include "show/resources.h"
#include "show/scroller.h"

namespace {

TEST(MainScript, DayBlendTakesOneAndAQuarterSeconds)
{
    EXPECT_FLOAT_EQ(dayBlend(0.0f), 0.0f);
    EXPECT_FLOAT_EQ(dayBlend(16.0f), 0.0f);
    EXPECT_FLOAT_EQ(dayBlend(16.5f), 0.4f);
    EXPECT_FLOAT_EQ(dayBlend(17.25f), 1.0f);
    EXPECT_FLOAT_EQ(dayBlend(100.0f), 1.0f);
}

TEST(MainScript, SkyAndSunGoFromEveningToDay)
{
    float sky[3], sun[3];
    skyColourAt(0.0f, sky);
    sunColourAt(0.0f, sun);
    EXPECT_EQ(toByteColour(sky).r, 235);
    EXPECT_EQ(toByteColour(sky).g, 177);
    EXPECT_EQ(toByteColour(sky).b, 0);
    EXPECT_EQ(toByteColour(sun).r, 221);
    EXPECT_EQ(toByteColour(sun).g, 53);
    EXPECT_EQ(toByteColour(sun).b, 8);
    skyColourAt(1.0f, sky);
    const Color day = toByteColour(sky);
    EXPECT_EQ(day.r, 46);  // 46.99... truncated
    EXPECT_EQ(day.g, 106);
    EXPECT_EQ(day.b, 195);
}

TEST(MainScript, LogoStagesNeedStrictlyLaterTimes)
{
    struct Case {
        float t;
        int stage;
    };
    const Case cases[] = {{0.0f, 0},  {2.0f, 0},   {2.01f, 1}, {6.5f, 1},   {6.51f, 2},
                          {11.0f, 2}, {11.01f, 3}, {15.0f, 3}, {15.01f, 4}, {300.0f, 4}};
    for (const Case& c : cases) EXPECT_EQ(logoStageAt(0, c.t), c.stage) << "t " << c.t;
}

TEST(Scroller, StepsAFrameAtATimeWithinItsRange)
{
    EXPECT_FLOAT_EQ(scrolledY(8.0f, false, true), 8.32f);
    EXPECT_FLOAT_EQ(scrolledY(100.0f, true, false), 99.68f);
    EXPECT_FLOAT_EQ(scrolledY(8.0f, true, false), 8.0f);
    EXPECT_FLOAT_EQ(scrolledY(8.1f, true, false), 8.0f);
    EXPECT_FLOAT_EQ(scrolledY(250.0f, false, true), 250.0f);
    EXPECT_FLOAT_EQ(scrolledY(249.9f, false, true), 250.0f);
    EXPECT_FLOAT_EQ(scrolledY(42.0f, false, false), 42.0f);
}

TEST(Outro, OnlyTheLastBandSitsLeftOfTheAnchorAndEachFollowsItsPath)
{
    const float expectedY[4] = {-0.7f, -0.35f, 0.0f, -1.9f};  // centres of the paths
    for (int band = 0; band < 4; ++band) {
        float sumX = 0, sumY = 0;
        for (int step = 0; step < 360; ++step) {
            float x = 0, y = 0;
            creditsBandOffset(band, step * 6.2831853f / 360.0f, x, y);
            EXPECT_EQ(x < -0.5f, band == 3) << "band " << band;
            EXPECT_NEAR(y, expectedY[band], 0.25f);
            sumX += x;
            sumY += y;
        }
        EXPECT_NEAR(sumX / 360.0f, band == 3 ? -1.0f : 0.0f, 0.01f) << "band " << band;
    }
}

class InvitationFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        headless::configure(headless::Config{});
        path = ::testing::TempDir() + "zw_invitation_test.txt";
        std::remove(path.c_str());
    }
    void TearDown() override { std::remove(path.c_str()); }
    void write(const std::string& bytes)
    {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    std::string path;
    std::vector<char> buffer = std::vector<char>(64, 'x');
};

TEST_F(InvitationFile, MissingFileLeavesTheEmptyTextAfterItsMessage)
{
    readInvitation(path.c_str(), buffer.data(), int(buffer.size()));
    EXPECT_EQ(buffer[0], '\0');
    ASSERT_EQ(headless::messageBoxes().size(), 1u);
    EXPECT_EQ(headless::messageBoxes()[0].caption, "FATAL MARLU");
    EXPECT_EQ(headless::messageBoxes()[0].text, "could not open: " + path);
}

TEST_F(InvitationFile, BytesAreKeptAsTheyAre)
{
    write("$hello$\r\nworld\xa7");
    readInvitation(path.c_str(), buffer.data(), int(buffer.size()));
    EXPECT_EQ(std::string(buffer.data()), "$hello$\r\nworld\xa7");
    EXPECT_TRUE(headless::messageBoxes().empty());
}

TEST_F(InvitationFile, EmptyFileGivesTheEmptyText)
{
    write("");
    readInvitation(path.c_str(), buffer.data(), int(buffer.size()));
    EXPECT_EQ(buffer[0], '\0');
}

TEST_F(InvitationFile, OverlongTextIsCutAtTheBuffersEnd)
{
    write(std::string(63, 'a'));
    readInvitation(path.c_str(), buffer.data(), int(buffer.size()));
    EXPECT_EQ(std::string(buffer.data()), std::string(63, 'a'));
    write(std::string(500, 'b'));
    readInvitation(path.c_str(), buffer.data(), int(buffer.size()));
    EXPECT_EQ(std::string(buffer.data()), std::string(63, 'b'));
    EXPECT_EQ(buffer[63], '\0');
}

}  // namespace
