// The music start-up over the headless back end's real module player: a module
// loads and sounds, and each failure shows its message with its caption while
// start-up goes on.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "tiny_module.h"
#include "gl_support.h"
#include "media/music.h"
#include "platform/headless.h"
#include "platform/platform.h"

namespace {

// Peak amplitude of a 16-bit WAV file's samples behind its 44-byte header.
int wavPeak(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return -1;
    std::fseek(file, 44, SEEK_SET);
    int peak = 0;
    std::int16_t sample = 0;
    while (std::fread(&sample, 2, 1, file) == 1) peak = std::max(peak, std::abs(int(sample)));
    std::fclose(file);
    return peak;
}

class MusicHeadless : public ::testing::Test {
protected:
    void SetUp() override
    {
        directory = enterTempDirectory();
        ASSERT_FALSE(directory.empty());
    }
    void TearDown() override
    {
        headless::configure({});
        std::filesystem::remove_all(directory);
    }
    void start(headless::Config config, bool withModule)
    {
        if (withModule) {
            ASSERT_TRUE(writeFile("marlu.it", tinyModule()));
        }
        headless::configure(config);
        startMusic();
    }
    void expectBoxes(const std::vector<std::pair<std::string, std::string>>& captionsAndTexts)
    {
        const auto& boxes = headless::messageBoxes();
        ASSERT_EQ(boxes.size(), captionsAndTexts.size());
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            EXPECT_EQ(boxes[i].caption, captionsAndTexts[i].first);
            EXPECT_EQ(boxes[i].text, captionsAndTexts[i].second);
        }
    }
    std::string directory;
};

TEST_F(MusicHeadless, ModuleLoadsAndSounds)
{
    headless::Config config;
    config.wavPath = directory + "/run.wav";
    start(config, true);
    EXPECT_TRUE(headless::messageBoxes().empty());
    EXPECT_FALSE(quitPosted());
    ASSERT_NE(music.song, nullptr);
    platform::counterNow();  // the clock starts
    playMusic();
    for (int frame = 0; frame < 60; ++frame) platform::swapBuffers();
    EXPECT_GT(headless::flushSound(), 40000u);
    stopMusic();
    EXPECT_GT(wavPeak(config.wavPath), 1000);
}

TEST_F(MusicHeadless, MissingModule)
{
    start({}, false);
    expectBoxes({{"l\xF6kjzwirbelalp", "File not found"}});
    EXPECT_TRUE(quitPosted());
    EXPECT_EQ(music.song, nullptr);
    playMusic();  // the show may still run a frame with no song
    stopMusic();
}

TEST_F(MusicHeadless, OldLibraryWarnsAndGoesOn)
{
    headless::Config config;
    config.soundVersion = 3.49f;
    start(config, true);
    expectBoxes({{"zwirbelalp", "ERROR: You are using a wrong FMOD - DLL!\n 3.50 or higher recommended!"}});
    EXPECT_TRUE(quitPosted());
    EXPECT_NE(music.song, nullptr);  // initialised and loaded all the same
    stopMusic();
}

}  // namespace
