// Window and GL context of the web back end: the window is the page's canvas, of
// the picture's size. The page scales the canvas to the browser window with the
// picture's aspect kept (bars around it) and does full screen, so the program draws
// straight into it; the browser gets its turn at every buffer swap.
#include <cstdio>

#include "platform/common/backend.h"
#include "platform/sdl/state.h"
#include "platform/web/clock.h"
#include "platform/web/page.h"

namespace platform::sdl {

// Alt+Enter: the page asks the browser.
void toggleFullScreen() { web::toggleFullScreen(); }

}  // namespace platform::sdl

namespace platform {

using sdl::state;

bool registerWindowClass(WindowProc proc)
{
    queue::setWindowProc(proc);
    // The browser's turn comes from swapBuffers alone, not from inside SDL's calls.
    if (!state.videoReady) SDL_SetHint(SDL_HINT_EMSCRIPTEN_ASYNCIFY, "0");
    return sdl::startVideo();
}

// The page is the full screen: the picture fills the browser window at its aspect.
bool changeDisplayMode(int, int, int) { return state.videoReady; }

void restoreDisplayMode() {}

void screenSize(int& width, int& height)
{
    width = state.pictureWidth;
    height = state.pictureHeight;
}

bool createWindow(const char* title, int, int, int width, int height, WindowStyle)
{
    if (!state.videoReady || state.window || width <= 0 || height <= 0) return false;
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    state.window = SDL_CreateWindow(title ? title : "", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                    width, height, SDL_WINDOW_OPENGL);
    if (!state.window) {
        std::fprintf(stderr, "zwirbelalp: no canvas: %s\n", SDL_GetError());
        return false;
    }
    state.pictureWidth = width;
    state.pictureHeight = height;
    return true;
}

bool createGlContext(int, int depthBits)
{
    if (!state.window) return false;
    if (state.context) return true;
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depthBits);
    return sdl::makeGlContext();
}

void destroyGlContext() { sdl::dropGlContext(); }

void showWindow() {}

void swapBuffers()
{
    if (!state.window || !state.context) return;
    SDL_GL_SwapWindow(state.window);
    web::frameSwapped();
    web::waitForNextFrame();
}

int pixelScale() { return 1; }

}  // namespace platform
