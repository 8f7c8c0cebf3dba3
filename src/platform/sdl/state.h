// What the desktop and the web back ends share on SDL: the window with its GL
// context, the pointer, the close request and the sound device. Process-wide state
// of this library, shared by its files and by the back end linked with it; start
// values here.
#pragma once

#include <SDL.h>

#include "platform/platform.h"

namespace platform::sdl {

constexpr int defaultPictureWidth = 640;
constexpr int defaultPictureHeight = 480;

struct SdlState {
    bool videoReady = false;  // SDL video started (startVideo)
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    int pictureWidth = defaultPictureWidth;  // the program's picture (createWindow's size)
    int pictureHeight = defaultPictureHeight;
    // Pointer in picture pixels, and what the pointer calls need to know.
    int cursorX = defaultPictureWidth / 2;
    int cursorY = defaultPictureHeight / 2;
    bool leftPressedSinceQuery = false;
    bool warpMotionPending = false;  // the motion event our own warp will cause is not news
    int warpWindowX = 0, warpWindowY = 0;
    bool closeDelivered = false;  // a window close came first: SDL's quit event repeats it
    SDL_AudioDeviceID audioDevice = 0;
};

extern SdlState state;

// Starts SDL's video (once); false, with SDL's reason on stderr, when it cannot.
bool startVideo();
// Releases whatever the program left open (context, window, sound), shuts SDL down
// and starts this state afresh.
void shutdown();
// The GL context on state.window, made current; false, with SDL's reason on stderr,
// when it cannot be had. dropGlContext releases it, if any.
bool makeGlContext();
void dropGlContext();

// Supplied by the back end linked with this library: Alt+Enter, full screen on or off.
void toggleFullScreen();

}  // namespace platform::sdl
