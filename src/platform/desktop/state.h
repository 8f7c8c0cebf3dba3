// The desktop back end's process-wide state, shared by its files; start values
// here. What it shares with the web page (window, context, pointer, sound device)
// is sdl::state.
#pragma once

#include <SDL_opengl.h>

#include "platform/sdl/state.h"

namespace platform::desktop {

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

struct DesktopState {
    bool fullScreenPlanned = false;  // changeDisplayMode succeeded: the window takes the desktop
    Framebuffer framebuffer;         // name 0: drawing goes straight to the window
};

extern DesktopState state;

// Framebuffer calls of framebuffer.cpp.
bool createFramebuffer(int width, int height);
void destroyFramebuffer();
void presentFramebuffer();
// Counts a frame shown, for the frame-rate trace (frame_rate.cpp; off unless asked for).
void countFrame();

}  // namespace platform::desktop
