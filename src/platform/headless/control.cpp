// The headless back end's control calls and its virtual time.
#include <algorithm>
#include <cstdio>

#include "platform/common/backend.h"
#include "platform/headless/state.h"
#include "platform/sound.h"

namespace headless {

HeadlessState state;

namespace {

constexpr std::int64_t millisecondsPerSecond = 1000;

Config checked(Config config)
{
    const Config defaults;
    if (config.ticksPerSecond <= 0 || config.ticksPerFrame <= 0) {
        std::fprintf(stderr, "headless: counter rate %lld/%lld is not positive; using %lld/%lld\n",
                     (long long)config.ticksPerSecond, (long long)config.ticksPerFrame,
                     (long long)defaults.ticksPerSecond, (long long)defaults.ticksPerFrame);
        config.ticksPerSecond = defaults.ticksPerSecond;
        config.ticksPerFrame = defaults.ticksPerFrame;
    }
    if (config.scale < 1 || config.scale > maxScale) {
        std::fprintf(stderr, "headless: scale %d out of 1..%d; using 1\n", config.scale, maxScale);
        config.scale = 1;
    }
    // Events of equal time keep the order in which the script lists them.
    std::stable_sort(config.script.begin(), config.script.end(),
                     [](const Event& a, const Event& b) { return a.time < b.time; });
    return config;
}

}  // namespace

std::int64_t elapsedTicks() { return state.clockStarted ? state.counter - state.clockZero : 0; }

void configure(const Config& config)
{
    FSOUND_Close();
    platform::destroyGlContext();
    closeWav();
    platform::queue::clear();
    platform::queue::setWindowProc(nullptr);
    state = HeadlessState();
    state.config = checked(config);
}

const std::vector<MessageBoxRecord>& messageBoxes() { return state.boxes; }

std::uint64_t framesSwapped() { return state.frames; }

bool cursorVisible() { return state.cursorVisible; }

double clockSeconds() { return double(elapsedTicks()) / double(state.config.ticksPerSecond); }

}  // namespace headless

namespace platform {

using headless::state;

std::int64_t counterFrequency() { return state.config.ticksPerSecond; }

std::int64_t counterNow()
{
    if (!state.clockStarted) {
        state.clockStarted = true;
        state.clockZero = state.counter;
    }
    return state.counter;
}

std::uint32_t tickCount()
{
    const std::int64_t perSecond = state.config.ticksPerSecond;
    const std::int64_t whole = state.counter / perSecond * headless::millisecondsPerSecond;
    const std::int64_t part = state.counter % perSecond * headless::millisecondsPerSecond / perSecond;
    return std::uint32_t(whole + part);
}

void yieldProcessor() {}

std::string programDirectory() { return state.config.programDirectory; }

}  // namespace platform
