// The sound library's calls on the headless back end: error codes, loading, and the
// WAV rendered in step with the virtual clock.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <algorithm>
#include <string>
#include <vector>

#include "platform/common/little_endian.h"
#include "platform/headless.h"
#include "platform/sound.h"
#include "tiny_module.h"

namespace {

std::string tempPath(const std::string& name)
{
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/zw_sound_" + std::to_string(::getpid()) + "_" + name;
}

struct Wav {
    std::uint32_t riffSize = 0, dataSize = 0, rate = 0;
    std::vector<std::int16_t> samples;
};

Wav readWav(const std::string& path)
{
    Wav wav;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return wav;
    unsigned char header[44] = {};
    if (std::fread(header, 1, 44, file) == 44) {
        wav.riffSize = platform::le32(header + 4);
        wav.rate = platform::le32(header + 24);
        wav.dataSize = platform::le32(header + 40);
        std::int16_t sample;
        while (std::fread(&sample, 2, 1, file) == 1) wav.samples.push_back(sample);
    }
    std::fclose(file);
    return wav;
}

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        modulePath = tempPath("tiny.it");
        ASSERT_TRUE(writeFile(modulePath, tinyModule()));
    }
    void TearDown() override
    {
        headless::configure({});
        std::remove(modulePath.c_str());
    }
    std::string modulePath;
};

TEST_F(SoundTest, CallsBeforeInitReportNotInitialised)
{
    headless::configure({});
    EXPECT_EQ(FMUSIC_LoadSong(modulePath.c_str()), nullptr);
    EXPECT_EQ(FSOUND_GetError(), soundErrorUninitialized);
    EXPECT_FALSE(FMUSIC_PlaySong(nullptr));
    EXPECT_EQ(FSOUND_GetError(), soundErrorUninitialized);
    EXPECT_FALSE(FMUSIC_FreeSong(nullptr));
    FSOUND_Close();  // harmless when nothing was started
}

TEST_F(SoundTest, LoadFailuresGiveTheirCodes)
{
    headless::configure({});
    ASSERT_TRUE(FSOUND_Init(44100, 32, 2));
    const std::string garbage = tempPath("garbage.it");
    ASSERT_TRUE(writeFile(garbage, std::vector<std::uint8_t>(1000, 0x5A)));
    const std::string empty = tempPath("empty.it");
    ASSERT_TRUE(writeFile(empty, {}));
    std::vector<std::uint8_t> headerOnly = tinyModule();
    headerOnly.resize(100);
    const std::string truncated = tempPath("truncated.it");
    ASSERT_TRUE(writeFile(truncated, headerOnly));

    const struct {
        std::string path;
        int error;
    } cases[] = {
        {tempPath("no_such_file.it"), soundErrorFileNotFound},
        {garbage, soundErrorFileFormat},
        {empty, soundErrorFileFormat},
        {truncated, soundErrorFileFormat},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FMUSIC_LoadSong(c.path.c_str()), nullptr) << c.path;
        EXPECT_EQ(FSOUND_GetError(), c.error) << c.path;
    }
    EXPECT_EQ(FMUSIC_LoadSong(nullptr), nullptr);
    EXPECT_EQ(FSOUND_GetError(), soundErrorFileNotFound);
    EXPECT_FALSE(FMUSIC_PlaySong(nullptr));
    EXPECT_EQ(FSOUND_GetError(), soundErrorInvalidParam);
    FSOUND_Close();
    for (const auto& c : cases) std::remove(c.path.c_str());
}

TEST_F(SoundTest, InitFailuresAndRepeatedInit)
{
    headless::Config config;
    config.failSoundInit = true;
    config.soundVersion = 3.49f;
    headless::configure(config);
    EXPECT_FLOAT_EQ(FSOUND_GetVersion(), 3.49f);
    EXPECT_FALSE(FSOUND_Init(44100, 32, 2));
    EXPECT_EQ(FSOUND_GetError(), soundErrorInit);
    FSOUND_Close();

    headless::configure({});
    ASSERT_TRUE(FSOUND_Init(44100, 32, 2));
    EXPECT_FALSE(FSOUND_Init(44100, 32, 2));
    EXPECT_EQ(FSOUND_GetError(), soundErrorBusy);
    FSOUND_Close();
}

TEST_F(SoundTest, FreeingTwiceIsRefusedNotACrash)
{
    headless::configure({});
    ASSERT_TRUE(FSOUND_Init(44100, 32, 2));
    FMUSIC_MODULE* song = FMUSIC_LoadSong(modulePath.c_str());
    ASSERT_NE(song, nullptr);
    EXPECT_EQ(FSOUND_GetError(), soundErrorNone);
    EXPECT_TRUE(FMUSIC_PlaySong(song));
    EXPECT_TRUE(FMUSIC_FreeSong(song));
    EXPECT_FALSE(FMUSIC_FreeSong(song));
    EXPECT_EQ(FSOUND_GetError(), soundErrorInvalidParam);
    FSOUND_Close();
}

// Over 60000/1001 frames per second the file holds floor(ticks x 44100 / 60000)
// frames at every moment: silence before the song starts, sound after.
TEST_F(SoundTest, WavFollowsTheClockToTheSampleAndIsNotSilent)
{
    headless::Config config;
    config.ticksPerSecond = 60000;
    config.ticksPerFrame = 1001;
    config.wavPath = tempPath("clock.wav");
    headless::configure(config);
    ASSERT_TRUE(FSOUND_Init(44100, 32, 2));
    FMUSIC_MODULE* song = FMUSIC_LoadSong(modulePath.c_str());
    ASSERT_NE(song, nullptr);
    platform::swapBuffers();  // before the clock starts: nothing is rendered
    EXPECT_EQ(headless::flushSound(), 0u);
    platform::counterNow();  // time 0
    const int silentFrames = 7, frames = 307;
    for (int i = 0; i < frames; ++i) {
        if (i == silentFrames) FMUSIC_PlaySong(song);
        platform::swapBuffers();
        const std::uint64_t expected = std::uint64_t(i + 1) * 1001 * 44100 / 60000;
        ASSERT_EQ(headless::flushSound(), expected) << "frame " << i;
    }
    const Wav wav = readWav(config.wavPath);
    const std::uint64_t total = std::uint64_t(frames) * 1001 * 44100 / 60000;
    EXPECT_EQ(wav.rate, 44100u);
    EXPECT_EQ(wav.dataSize, total * 4);
    EXPECT_EQ(wav.riffSize, total * 4 + 36);
    ASSERT_EQ(wav.samples.size(), total * 2);
    const std::size_t songStart = std::size_t(std::uint64_t(silentFrames) * 1001 * 44100 / 60000) * 2;
    for (std::size_t i = 0; i < songStart; ++i) ASSERT_EQ(wav.samples[i], 0) << i;
    int peak = 0;
    for (std::size_t i = songStart; i < wav.samples.size(); ++i)
        peak = std::max(peak, std::abs(int(wav.samples[i])));
    EXPECT_GT(peak, 1000);
    FMUSIC_FreeSong(song);
    FSOUND_Close();
    std::remove(config.wavPath.c_str());
}

// The module loops forever: long after its 3.84 s end it still sounds.
TEST_F(SoundTest, SongLoopsAtItsEnd)
{
    headless::Config config;
    config.wavPath = tempPath("loop.wav");
    headless::configure(config);
    ASSERT_TRUE(FSOUND_Init(44100, 32, 2));
    FMUSIC_MODULE* song = FMUSIC_LoadSong(modulePath.c_str());
    ASSERT_NE(song, nullptr);
    platform::counterNow();
    FMUSIC_PlaySong(song);
    for (int i = 0; i < 60 * 10; ++i) platform::swapBuffers();
    FSOUND_Close();  // frees the song too
    const Wav wav = readWav(config.wavPath);
    ASSERT_EQ(wav.samples.size(), 441000u * 2);
    int lastSecondPeak = 0;
    for (std::size_t i = wav.samples.size() - 88200; i < wav.samples.size(); ++i)
        lastSecondPeak = std::max(lastSecondPeak, std::abs(int(wav.samples[i])));
    EXPECT_GT(lastSecondPeak, 1000);
    std::remove(config.wavPath.c_str());
}

}  // namespace
