// The soundtrack through the sound library: start-up with its version check, the
// error texts, play, and release.
#include "media/music.h"

#include "assets/media_manifest.h"
#include "platform/platform.h"
#include "platform/sound.h"

MusicState music;

namespace {

constexpr float minimumVersion = 3.5f;  // exactly 3.5 passes
constexpr int mixRate = 44100;
constexpr int softwareChannels = 32;
constexpr unsigned initFlags = 2;
constexpr const char* songFile = media::marluIt;
constexpr const char* initCaption = "zwirbelalp";
constexpr const char* loadCaption = "l\xF6kjzwirbelalp";  // Windows-1252 "ö"

const char* const errorTexts[] = {
    "No errors",
    "Cannot call this command after FSOUND_Init.  Call FSOUND_Close first.",
    "This command failed because FSOUND_Init was not called",
    "Error initializing output device.",
    "The output device is already in use and cannot be reused.",
    "Playing the sound failed.",
    "Soundcard does not support the features needed for this soundsystem (16bit stereo output)",
    "Error setting cooperative level for hardware.",
    "Error creating hardware sound buffer.",
    "File not found",
    "Unknown file format",
    "Error loading file",
    "Not enough memory ",
    "The version number of this file format is not supported",
    "An invalid parameter was passed to this function",
    "Tried to use an EAX command on a non EAX enabled channel or output.",
    "Failed to allocate a new channel",
    "Recording not supported on this device",
    "Required Mediaplayer codec is not installed",
};
constexpr unsigned errorTextCount = sizeof errorTexts / sizeof errorTexts[0];

// Every start-up failure: one box, then the quit message; start-up goes on.
void fail(const char* text, const char* caption)
{
    platform::messageBox(text, caption, platform::Buttons::Ok, platform::Icon::None);
    platform::postQuitMessage(0);
}

}  // namespace

const char* fmodErrorText(int code)
{
    const auto index = static_cast<unsigned>(code);  // negative codes land beyond the table
    return index < errorTextCount ? errorTexts[index] : "Unknown error";
}

void startMusic()
{
    if (FSOUND_GetVersion() < minimumVersion)
        fail("ERROR: You are using a wrong FMOD - DLL!\n 3.50 or higher recommended!", initCaption);
    if (!FSOUND_Init(mixRate, softwareChannels, initFlags))
        fail(fmodErrorText(FSOUND_GetError()), initCaption);
    music.song = FMUSIC_LoadSong(songFile);
    if (!music.song) fail(fmodErrorText(FSOUND_GetError()), loadCaption);
}

void playMusic() { FMUSIC_PlaySong(music.song); }

void stopMusic()
{
    FMUSIC_FreeSong(music.song);
    music.song = nullptr;  // the handle is gone; a second stop frees nothing
    FSOUND_Close();
}
