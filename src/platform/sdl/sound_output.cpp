// Sound output of the desktop and the page: the SDL audio device, 16-bit stereo,
// mixed on SDL's audio thread. Without a usable device the show still runs, muted.
#include <cstdio>

#include "platform/sdl/state.h"
#include "platform/sound/output.h"

namespace sound {

namespace {

using platform::sdl::state;

constexpr float libraryVersion = 3.61f;
constexpr Uint16 deviceBufferFrames = 1024;
constexpr int bytesPerFrame = 4;

void SDLCALL fillDeviceBuffer(void*, Uint8* stream, int length)
{
    // SDL holds the device lock while this runs: the module list cannot change under it.
    mixPlaying(reinterpret_cast<std::int16_t*>(stream), std::size_t(length / bytesPerFrame));
}

bool openDevice(int rate)
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    SDL_AudioSpec wanted = {};
    wanted.freq = rate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = deviceBufferFrames;
    wanted.callback = fillDeviceBuffer;
    state.audioDevice = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (state.audioDevice == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    SDL_PauseAudioDevice(state.audioDevice, 0);
    return true;
}

bool openSilentDevice(int rate)
{
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    const bool opened = openDevice(rate);
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    return opened;
}

}  // namespace

float outputVersion() { return libraryVersion; }

bool openOutput(int rate)
{
    if (openDevice(rate)) return true;
    std::fprintf(stderr, "zwirbelalp: no sound device (%s); the show runs without sound\n", SDL_GetError());
    return openSilentDevice(rate);
}

void closeOutput()
{
    if (state.audioDevice == 0) return;
    SDL_CloseAudioDevice(state.audioDevice);
    state.audioDevice = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void lockOutput()
{
    if (state.audioDevice) SDL_LockAudioDevice(state.audioDevice);
}

void unlockOutput()
{
    if (state.audioDevice) SDL_UnlockAudioDevice(state.audioDevice);
}

}  // namespace sound
