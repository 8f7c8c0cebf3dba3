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

struct WebClock {
    bool started = false;
    std::int64_t rate = 0;     // frames (virtual ticks) per second; 0: the real counter
    std::int64_t counter = 0;  // the virtual counter, one tick per frame
    std::int64_t zero = 0;     // counter reading at the first counterNow
};

WebClock webClock;

std::int64_t realCounter() { return std::int64_t(SDL_GetPerformanceCounter()); }

void startOnce()
{
    if (webClock.started) return;
    webClock.started = true;
    webClock.rate = fixedFrameRate() > 0 ? fixedFrameRate() : 0;
    webClock.zero = webClock.rate ? webClock.counter : realCounter();
}

double secondsSinceZero()
{
    if (!webClock.started) return 0.0;
    if (webClock.rate) return double(webClock.counter - webClock.zero) / double(webClock.rate);
    return double(realCounter() - webClock.zero) / double(SDL_GetPerformanceFrequency());
}

}  // namespace

void frameSwapped()
{
    frameDrawn(secondsSinceZero());
    if (webClock.rate) ++webClock.counter;
}

}  // namespace platform::web

namespace platform {

using web::webClock;

std::int64_t counterFrequency()
{
    web::startOnce();
    return webClock.rate ? webClock.rate : std::int64_t(SDL_GetPerformanceFrequency());
}

std::int64_t counterNow()
{
    web::startOnce();
    return webClock.rate ? webClock.counter : web::realCounter();
}

std::uint32_t tickCount()
{
    if (!webClock.rate) return std::uint32_t(SDL_GetTicks64());
    return std::uint32_t(webClock.counter * 1000 / webClock.rate);
}

// The browser gets its turn at every buffer swap.
void yieldProcessor() {}

}  // namespace platform
