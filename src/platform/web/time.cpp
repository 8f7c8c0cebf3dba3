// Time of the web back end. The fixed step is read once, at the first reading of
// the counter, which the program takes when it starts its clock; that reading is
// the clock's zero for the page's hooks.
#include <cstdint>

#include <SDL.h>

#include "platform/platform.h"
#include "platform/web/clock.h"
#include "platform/web/page.h"

namespace platform::web {

namespace {

constexpr std::int64_t virtualTicksPerSecond = 1000000;

struct WebClock {
    bool started = false;
    std::int64_t step = 0;      // virtual ticks per frame; 0: the real counter
    std::int64_t counter = 0;   // the virtual counter
    std::int64_t zero = 0;      // counter reading at the first counterNow
};

WebClock webClock;

std::int64_t realCounter() { return std::int64_t(SDL_GetPerformanceCounter()); }

void startOnce()
{
    if (webClock.started) return;
    webClock.started = true;
    webClock.step = std::int64_t(fixedFrameSeconds() * double(virtualTicksPerSecond) + 0.5);
    webClock.zero = webClock.step ? webClock.counter : realCounter();
}

double secondsSinceZero()
{
    if (!webClock.started) return 0.0;
    if (webClock.step) return double(webClock.counter - webClock.zero) / double(virtualTicksPerSecond);
    return double(realCounter() - webClock.zero) / double(SDL_GetPerformanceFrequency());
}

}  // namespace

void frameSwapped()
{
    frameDrawn(secondsSinceZero());
    webClock.counter += webClock.step;
}

}  // namespace platform::web

namespace platform {

using web::webClock;

std::int64_t counterFrequency()
{
    web::startOnce();
    return webClock.step ? web::virtualTicksPerSecond : std::int64_t(SDL_GetPerformanceFrequency());
}

std::int64_t counterNow()
{
    web::startOnce();
    return webClock.step ? webClock.counter : web::realCounter();
}

std::uint32_t tickCount()
{
    if (!webClock.step) return std::uint32_t(SDL_GetTicks64());
    return std::uint32_t(webClock.counter / (web::virtualTicksPerSecond / 1000));
}

// The browser gets its turn at every buffer swap.
void yieldProcessor() {}

}  // namespace platform
