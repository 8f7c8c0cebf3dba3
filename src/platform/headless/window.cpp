// Window and GL of the headless back end: no display, an off-screen RGBA buffer of
// (640 x scale) x (480 x scale) pixels drawn by the software renderer.
#include <GL/osmesa.h>

#include <cstdio>

#include "platform/common/backend.h"
#include "platform/headless/state.h"

namespace headless {

namespace {

constexpr int maxDrawableSide = 16384;

OSMesaContext createContext(int depthBits)
{
    const int attributes[] = {OSMESA_FORMAT,
                              OSMESA_RGBA,
                              OSMESA_DEPTH_BITS,
                              depthBits,
                              OSMESA_PROFILE,
                              OSMESA_COMPAT_PROFILE,
                              OSMESA_CONTEXT_MAJOR_VERSION,
                              2,
                              OSMESA_CONTEXT_MINOR_VERSION,
                              1,
                              0};
    OSMesaContext context = OSMesaCreateContextAttribs(attributes, nullptr);
    return context ? context : OSMesaCreateContextExt(OSMESA_RGBA, depthBits, 0, 0, nullptr);
}

}  // namespace

}  // namespace headless

namespace platform {

using headless::state;

bool registerWindowClass(WindowProc proc)
{
    if (state.config.failWindowClass) return false;
    queue::setWindowProc(proc);
    state.windowClassRegistered = true;
    return true;
}

bool changeDisplayMode(int, int, int) { return !state.config.failDisplayMode; }

void restoreDisplayMode() {}

void screenSize(int& width, int& height)
{
    width = headless::screenWidth;
    height = headless::screenHeight;
}

bool createWindow(const char*, int, int, int width, int height, WindowStyle)
{
    if (state.config.failWindowCreation || width <= 0 || height <= 0) return false;
    state.windowCreated = true;
    state.windowWidth = width;
    state.windowHeight = height;
    return true;
}

void destroyWindow() { state.windowCreated = false; }

bool createGlContext(int, int depthBits)
{
    if (state.context) return true;
    const long long width = (long long)state.windowWidth * state.config.scale;
    const long long height = (long long)state.windowHeight * state.config.scale;
    if (width > headless::maxDrawableSide || height > headless::maxDrawableSide) {
        std::fprintf(stderr, "headless: drawable %lld x %lld is too large\n", width, height);
        return false;
    }
    state.context = headless::createContext(depthBits);
    state.drawable.assign(std::size_t(width * height * 4), 0);
    if (!state.context ||
        !OSMesaMakeCurrent(state.context, state.drawable.data(), GL_UNSIGNED_BYTE, int(width), int(height))) {
        std::fprintf(stderr, "headless: no off-screen GL context\n");
        destroyGlContext();
        return false;
    }
    state.drawableWidth = int(width);
    state.drawableHeight = int(height);
    return true;
}

void destroyGlContext()
{
    if (state.context) {
        OSMesaMakeCurrent(nullptr, nullptr, GL_UNSIGNED_BYTE, 0, 0);
        OSMesaDestroyContext(state.context);
    }
    state.context = nullptr;
    state.drawable.clear();
    state.drawable.shrink_to_fit();
    state.drawableWidth = state.drawableHeight = 0;
}

void showWindow() {}

void swapBuffers()
{
    if (state.context) glFinish();
    if (state.config.onSwap) state.config.onSwap(state.frames);
    state.counter += state.config.ticksPerFrame;
    ++state.frames;
    headless::renderSoundToClock();
    backend::pumpEvents();
}

int pixelScale() { return state.config.scale; }

}  // namespace platform

namespace headless {

Picture readPicture()
{
    Picture picture;
    if (!state.context) return picture;
    glFinish();
    picture.width = state.drawableWidth;
    picture.height = state.drawableHeight;
    const std::size_t rowBytes = std::size_t(picture.width) * 4;
    picture.rgba.resize(rowBytes * std::size_t(picture.height));
    for (int row = 0; row < picture.height; ++row) {
        const std::uint8_t* source = state.drawable.data() + rowBytes * std::size_t(picture.height - 1 - row);
        std::copy(source, source + rowBytes, picture.rgba.begin() + std::ptrdiff_t(rowBytes * row));
    }
    return picture;
}

}  // namespace headless

// The software renderer keeps a few allocations of its own until the process ends;
// a leak check of any headless binary (tests, capture) should report ours, not those.
extern "C" const char* __lsan_default_suppressions() { return "leak:libOSMesa.so\n"; }
