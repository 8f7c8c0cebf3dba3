// The sdl back end's process-wide state, shared by its files; start values here.
#pragma once

#include <SDL.h>
#include <SDL_opengl.h>

#include "platform/platform.h"

namespace platform::sdl {

constexpr int defaultPictureWidth = 640;
constexpr int defaultPictureHeight = 480;

// The off-screen picture the program draws into, and the GL calls it needs
// (looked up at run time: the system's GL library exports only GL 1.1 for sure).
struct Framebuffer {
    GLuint name = 0;
    GLuint colour = 0;  // renderbuffer, RGBA8
    GLuint depth = 0;   // renderbuffer, 16-bit depth
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
    PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
    PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
    PFNGLBLITFRAMEBUFFERPROC blitFramebuffer = nullptr;
};

struct SdlState {
    bool videoReady = false;         // SDL video initialised by registerWindowClass
    bool fullScreenPlanned = false;  // changeDisplayMode succeeded: the window takes the desktop
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    int pictureWidth = defaultPictureWidth;  // the program's picture (createWindow's size)
    int pictureHeight = defaultPictureHeight;
    Framebuffer framebuffer;  // name 0: drawing goes straight to the window
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

// Framebuffer calls of framebuffer.cpp.
bool createFramebuffer(int width, int height);
void destroyFramebuffer();
void presentFramebuffer();
// The GL context on state.window, made current; false, with SDL's reason on stderr,
// when it cannot be had (gl_context.cpp). dropGlContext releases it, if any.
bool makeGlContext();
void dropGlContext();
// Starts SDL's video (once); false, with SDL's reason on stderr, when it cannot.
bool startVideo();
// Alt+Enter: between the desktop full screen and a window of the picture's size.
void toggleFullScreen();
// Counts a frame shown, for the frame-rate trace (frame_rate.cpp; off unless asked for).
void countFrame();

}  // namespace platform::sdl
