// With ZW_TRACE_FPS set in the environment, the frames the window shows are counted
// and written to stderr, once for every second since the first frame (the show's
// clock starts just before it), with the GL renderer they are drawn by:
//   zwirbelalp fps: renderer llvmpipe (LLVM 15.0.6, 256 bits)
//   zwirbelalp fps: second 1: 60 frames
// bench/frame_rate adds the seconds up into the show's parts.
#include <cstdio>
#include <cstdlib>

#include "platform/desktop/state.h"

namespace platform::desktop {

namespace {

struct FrameRate {
    bool enabled = std::getenv("ZW_TRACE_FPS") != nullptr;
    bool started = false;
    Uint64 start = 0;        // counter at the first frame
    Uint64 secondsDone = 0;  // seconds written so far
    unsigned frames = 0;     // frames in the second under way
};

FrameRate frameRate;

void startCounting(Uint64 now)
{
    frameRate.started = true;
    frameRate.start = now;
    const GLubyte* renderer = glGetString(GL_RENDERER);
    std::fprintf(stderr, "zwirbelalp fps: renderer %s\n",
                 renderer ? reinterpret_cast<const char*>(renderer) : "?");
}

}  // namespace

void countFrame()
{
    if (!frameRate.enabled) return;
    const Uint64 now = SDL_GetPerformanceCounter();
    if (!frameRate.started) startCounting(now);
    const Uint64 perSecond = SDL_GetPerformanceFrequency();
    while (now - frameRate.start >= (frameRate.secondsDone + 1) * perSecond) {
        ++frameRate.secondsDone;
        std::fprintf(stderr, "zwirbelalp fps: second %llu: %u frames\n",
                     static_cast<unsigned long long>(frameRate.secondsDone), frameRate.frames);
        frameRate.frames = 0;
    }
    ++frameRate.frames;
}

}  // namespace platform::desktop
