// The music start-up against a scripted stand-in for the sound library: the order
// of the calls, every failure's message and caption, that start-up never stops
// early, that teardown frees and closes after any failure, and the error texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/music.h"
#include "platform/sound.h"
#include "recorded_boxes.h"

namespace {

struct FakeLibrary {
    float version = 3.61f;
    bool initWorks = true;
    bool loadWorks = true;
    int error = soundErrorNone;
    std::vector<std::string> calls;
};
FakeLibrary library;
FMUSIC_MODULE* const fakeModule = reinterpret_cast<FMUSIC_MODULE*>(0x1000);

void reset(float version, bool initWorks, bool loadWorks)
{
    library = FakeLibrary{version, initWorks, loadWorks, soundErrorNone, {}};
    recordedBoxes().clear();
    quitMessagesPosted() = 0;
    music.song = nullptr;
}

}  // namespace

float FSOUND_GetVersion()
{
    library.calls.push_back("GetVersion");
    return library.version;
}

signed char FSOUND_Init(int mixRate, int channels, unsigned int flags)
{
    library.calls.push_back("Init " + std::to_string(mixRate) + " " + std::to_string(channels) + " " +
                            std::to_string(flags));
    if (!library.initWorks) library.error = soundErrorInit;
    return library.initWorks;
}

int FSOUND_GetError() { return library.error; }

FMUSIC_MODULE* FMUSIC_LoadSong(const char* name)
{
    library.calls.push_back(std::string("LoadSong ") + name);
    if (!library.loadWorks) library.error = soundErrorFileNotFound;
    return library.loadWorks ? fakeModule : nullptr;
}

signed char FMUSIC_PlaySong(FMUSIC_MODULE* module)
{
    library.calls.push_back(module ? "PlaySong" : "PlaySong null");
    return module != nullptr;
}

signed char FMUSIC_FreeSong(FMUSIC_MODULE* module)
{
    library.calls.push_back(module ? "FreeSong" : "FreeSong null");
    return module != nullptr;
}

void FSOUND_Close() { library.calls.push_back("Close"); }

namespace {

using Calls = std::vector<std::string>;
const Calls fullStart = {"GetVersion", "Init 44100 32 2", "LoadSong marlu.it"};

TEST(Music, StartPlayStopCallTheLibraryInOrder)
{
    reset(3.5f, true, true);  // exactly 3.5 passes
    startMusic();
    playMusic();
    stopMusic();
    Calls expected = fullStart;
    expected.insert(expected.end(), {"PlaySong", "FreeSong", "Close"});
    EXPECT_EQ(library.calls, expected);
    EXPECT_TRUE(recordedBoxes().empty());
    EXPECT_EQ(quitMessagesPosted(), 0);
}

// Each failure has its box and quit message, no step is skipped, and teardown
// still frees (the null song) and closes.
TEST(Music, EveryFailureReportedAndTeardownStillFreesAndCloses)
{
    reset(3.49f, false, false);
    startMusic();
    EXPECT_EQ(library.calls, fullStart);
    ASSERT_EQ(recordedBoxes().size(), 3u);
    EXPECT_EQ(recordedBoxes()[0].caption, "zwirbelalp");
    EXPECT_EQ(recordedBoxes()[1].text, "Error initializing output device.");
    EXPECT_EQ(recordedBoxes()[1].caption, "zwirbelalp");
    EXPECT_EQ(recordedBoxes()[2].text, "File not found");
    EXPECT_EQ(recordedBoxes()[2].caption, "l\xF6kjzwirbelalp");
    EXPECT_EQ(quitMessagesPosted(), 3);

    library.calls.clear();
    playMusic();
    stopMusic();
    EXPECT_EQ(library.calls, (Calls{"PlaySong null", "FreeSong null", "Close"}));
}

TEST(Music, ErrorTexts)
{
    const std::pair<int, const char*> table[] = {
        {0, "No errors"},
        {1, "Cannot call this command after FSOUND_Init.  Call FSOUND_Close first."},
        {9, "File not found"},
        {12, "Not enough memory "},
        {18, "Required Mediaplayer codec is not installed"},
        {19, "Unknown error"},
        {-1, "Unknown error"},
        {INT32_MIN, "Unknown error"},
    };
    for (const auto& [code, text] : table) EXPECT_STREQ(fmodErrorText(code), text) << code;
}

}  // namespace
