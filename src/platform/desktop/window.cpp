// Window and GL context of the desktop back end. The physical display mode is never
// switched: "full screen" is a desktop-sized window, and the program's picture is
// drawn off screen at its own size and scaled into it at every swap.
#include <cstdio>

#include "platform/common/backend.h"
#include "platform/desktop/process.h"
#include "platform/desktop/state.h"

namespace platform::desktop {

DesktopState state;

namespace {

constexpr int glMajorVersion = 2;
constexpr int glMinorVersion = 1;
constexpr int adaptiveSync = -1;
constexpr int waitForSync = 1;
constexpr int windowDepthBits =
    16;  // asked for before the window exists: some systems pick its pixel format then

void requestGlAttributes(int depthBits)
{
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, glMajorVersion);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, glMinorVersion);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depthBits);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
}

// Tear-free where the driver allows it; never a reason to stop.
void chooseSwapInterval()
{
    if (SDL_GL_SetSwapInterval(adaptiveSync) == 0) return;
    SDL_GL_SetSwapInterval(waitForSync);
}

Uint32 windowFlags(WindowStyle style)
{
    const Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI;
    if (style == WindowStyle::FullScreen && state.fullScreenPlanned)
        return flags | SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS;
    if (style == WindowStyle::Overlapped) return flags;
    return flags | SDL_WINDOW_BORDERLESS;
}

// A full-screen window is made as large as the desktop from the start: without a
// window manager to act on the full-screen request it still covers the screen.
SDL_Rect windowPlace(int x, int y, int width, int height, WindowStyle style)
{
    SDL_Rect primary = {0, 0, 0, 0};
    SDL_GetDisplayBounds(0, &primary);
    if (style == WindowStyle::FullScreen && state.fullScreenPlanned && primary.w > 0 && primary.h > 0)
        return primary;
    return SDL_Rect{primary.x + x, primary.y + y, width, height};
}

// Without an off-screen picture the program draws straight into the window, which
// must then have the picture's size.
void fallBackToPictureSizedWindow()
{
    std::fprintf(stderr, "zwirbelalp: no off-screen framebuffer; drawing into a %d x %d window\n",
                 sdl::state.pictureWidth, sdl::state.pictureHeight);
    SDL_SetWindowFullscreen(sdl::state.window, 0);
    SDL_SetWindowSize(sdl::state.window, sdl::state.pictureWidth, sdl::state.pictureHeight);
}

}  // namespace

void shutdown()
{
    sdl::shutdown();
    state = DesktopState();
}

}  // namespace platform::desktop

namespace platform::sdl {

void toggleFullScreen()
{
    if (!state.window || !desktop::state.framebuffer.name) return;
    if (SDL_GetWindowFlags(state.window) & SDL_WINDOW_FULLSCREEN) {
        SDL_SetWindowFullscreen(state.window, 0);
        SDL_SetWindowSize(state.window, state.pictureWidth, state.pictureHeight);
        SDL_SetWindowPosition(state.window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    } else {
        SDL_SetWindowFullscreen(state.window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    }
}

}  // namespace platform::sdl

namespace platform {

using sdl::state;

bool registerWindowClass(WindowProc proc)
{
    queue::setWindowProc(proc);
    return sdl::startVideo();
}

bool changeDisplayMode(int, int, int)
{
    SDL_DisplayMode desktop;
    if (!state.videoReady || SDL_GetNumVideoDisplays() < 1 || SDL_GetDesktopDisplayMode(0, &desktop) != 0)
        return false;
    desktop::state.fullScreenPlanned = true;
    return true;
}

void restoreDisplayMode()
{
    if (state.window && (SDL_GetWindowFlags(state.window) & SDL_WINDOW_FULLSCREEN)) {
        SDL_SetWindowFullscreen(state.window, 0);
        SDL_HideWindow(state.window);
    }
    desktop::state.fullScreenPlanned = false;
}

void screenSize(int& width, int& height)
{
    SDL_DisplayMode desktop;
    if (state.videoReady && SDL_GetDesktopDisplayMode(0, &desktop) == 0) {
        width = desktop.w;
        height = desktop.h;
    } else {
        width = sdl::defaultPictureWidth;
        height = sdl::defaultPictureHeight;
    }
}

bool createWindow(const char* title, int x, int y, int width, int height, WindowStyle style)
{
    if (!state.videoReady || state.window || width <= 0 || height <= 0) return false;
    const SDL_Rect place = desktop::windowPlace(x, y, width, height, style);
    desktop::requestGlAttributes(desktop::windowDepthBits);
    state.window =
        SDL_CreateWindow(title ? title : "", place.x, place.y, place.w, place.h, desktop::windowFlags(style));
    if (!state.window) {
        std::fprintf(stderr, "zwirbelalp: no window: %s\n", SDL_GetError());
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
    desktop::requestGlAttributes(depthBits);
    if (!sdl::makeGlContext()) return false;
    desktop::chooseSwapInterval();
    if (!desktop::createFramebuffer(state.pictureWidth, state.pictureHeight))
        desktop::fallBackToPictureSizedWindow();
    return true;
}

void destroyGlContext()
{
    if (!state.context) return;
    desktop::destroyFramebuffer();
    sdl::dropGlContext();
}

void showWindow()
{
    if (!state.window) return;
    SDL_ShowWindow(state.window);
    SDL_RaiseWindow(state.window);
}

void swapBuffers()
{
    if (!state.window || !state.context) return;
    const desktop::Framebuffer& framebuffer = desktop::state.framebuffer;
    if (framebuffer.name) desktop::presentFramebuffer();
    SDL_GL_SwapWindow(state.window);
    desktop::countFrame();
    if (framebuffer.name) framebuffer.bindFramebuffer(GL_FRAMEBUFFER, framebuffer.name);
}

int pixelScale() { return 1; }

}  // namespace platform

// System libraries that SDL loads (the desktop bus, the GL drivers) keep allocations
// of their own until the process ends; a leak check of the program should report ours.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libdbus-1.so\nleak:libGLX_mesa.so\nleak:swrast_dri.so\nleak:libLLVM\nleak:libubsan.so\n";
}
