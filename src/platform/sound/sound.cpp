// The sound library's calls with their published error codes. The library's state
// is one struct; modules are only touched with the output locked, because the
// desktop mixes them on SDL's audio thread.
#include "platform/sound.h"

#include <algorithm>
#include <vector>

#include "platform/sound/output.h"
#include "platform/sound/player.h"

namespace sound {

namespace {

constexpr int lowestMixRate = 4000;
constexpr int highestMixRate = 192000;

struct SoundState {
    bool initialised = false;
    int lastError = soundErrorNone;
    int rate = 44100;
    std::vector<FMUSIC_MODULE*> loaded;   // every handle FMUSIC_LoadSong gave out and not yet freed
    std::vector<FMUSIC_MODULE*> playing;  // the ones being mixed; changed only with the output locked
};

SoundState state;

bool fail(int code)
{
    state.lastError = code;
    return false;
}

bool isLoaded(const FMUSIC_MODULE* module)
{
    return module && std::find(state.loaded.begin(), state.loaded.end(), module) != state.loaded.end();
}

// The code for a call that needs a loaded module and did not get one.
int badHandleError() { return state.initialised ? soundErrorInvalidParam : soundErrorUninitialized; }

void stopPlaying(FMUSIC_MODULE* module)
{
    lockOutput();
    state.playing.erase(std::remove(state.playing.begin(), state.playing.end(), module), state.playing.end());
    unlockOutput();
}

}  // namespace

void mixPlaying(std::int16_t* interleavedStereo, std::size_t frames)
{
    std::fill(interleavedStereo, interleavedStereo + frames * 2, std::int16_t(0));
    for (FMUSIC_MODULE* module : state.playing) renderAdding(*module, state.rate, interleavedStereo, frames);
}

int mixRate() { return state.rate; }

}  // namespace sound

using sound::state;

float FSOUND_GetVersion() { return sound::outputVersion(); }

signed char FSOUND_Init(int mixRate, int /*maxSoftwareChannels*/, unsigned int /*flags*/)
{
    if (state.initialised) return sound::fail(soundErrorBusy);
    if (mixRate < sound::lowestMixRate || mixRate > sound::highestMixRate)
        return sound::fail(soundErrorInvalidParam);
    state.rate = mixRate;
    if (!sound::openOutput(mixRate)) return sound::fail(soundErrorInit);
    state.initialised = true;
    state.lastError = soundErrorNone;
    return true;
}

int FSOUND_GetError() { return state.lastError; }

FMUSIC_MODULE* FMUSIC_LoadSong(const char* name)
{
    if (!state.initialised) {
        sound::fail(soundErrorUninitialized);
        return nullptr;
    }
    int error = soundErrorNone;
    FMUSIC_MODULE* module = sound::loadModule(name, error);
    state.lastError = error;
    if (module) state.loaded.push_back(module);
    return module;
}

signed char FMUSIC_PlaySong(FMUSIC_MODULE* module)
{
    if (!state.initialised || !sound::isLoaded(module)) return sound::fail(sound::badHandleError());
    sound::lockOutput();
    if (std::find(state.playing.begin(), state.playing.end(), module) != state.playing.end())
        sound::rewind(*module);
    else
        state.playing.push_back(module);
    sound::unlockOutput();
    state.lastError = soundErrorNone;
    return true;
}

signed char FMUSIC_FreeSong(FMUSIC_MODULE* module)
{
    if (!sound::isLoaded(module)) return sound::fail(sound::badHandleError());
    sound::stopPlaying(module);
    state.loaded.erase(std::find(state.loaded.begin(), state.loaded.end(), module));
    delete module;
    return true;
}

void FSOUND_Close()
{
    if (!state.initialised) return;
    sound::lockOutput();
    state.playing.clear();
    sound::unlockOutput();
    sound::closeOutput();
    // Whatever the caller did not free goes with the library.
    for (FMUSIC_MODULE* module : state.loaded) delete module;
    state.loaded.clear();
    state.initialised = false;
}
