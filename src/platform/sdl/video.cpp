// SDL's video for the desktop and the page: started once, and everything closed at the end.
#include <cstdio>

#include "platform/sdl/state.h"
#include "platform/sound.h"
#include "platform/windows/native_keys.h"

namespace platform::sdl {

SdlState state;

bool startVideo()
{
    if (state.videoReady) return true;
    SDL_SetMainReady();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "zwirbelalp: no video: %s\n", SDL_GetError());
        return false;
    }
    state.videoReady = true;
    windows::watchNativeKeys();
    SDL_StopTextInput();  // characters come from translateMessage, not from SDL
    return true;
}

void shutdown()
{
    destroyGlContext();
    destroyWindow();
    FSOUND_Close();
    SDL_Quit();
    state = SdlState();
}

}  // namespace platform::sdl
