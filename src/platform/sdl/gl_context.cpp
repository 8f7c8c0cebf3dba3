// The window's GL context and the window's end, the same for the desktop and
// the web page (both draw through SDL's GL calls).
#include <cstdio>

#include "platform/platform.h"
#include "platform/sdl/state.h"

namespace platform::sdl {

bool makeGlContext()
{
    state.context = SDL_GL_CreateContext(state.window);
    if (state.context && SDL_GL_MakeCurrent(state.window, state.context) == 0) return true;
    std::fprintf(stderr, "zwirbelalp: no GL context: %s\n", SDL_GetError());
    destroyGlContext();
    return false;
}

void dropGlContext()
{
    if (!state.context) return;
    SDL_GL_MakeCurrent(state.window, nullptr);
    SDL_GL_DeleteContext(state.context);
    state.context = nullptr;
}

}  // namespace platform::sdl

namespace platform {

using sdl::state;

void destroyWindow()
{
    if (state.context) destroyGlContext();
    if (state.window) SDL_DestroyWindow(state.window);
    state.window = nullptr;
}

}  // namespace platform
