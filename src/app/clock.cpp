// The frame clock on the platform's high-resolution counter.
#include "app/clock.h"

#include <cassert>

#include "platform/platform.h"

ClockState clockState;

void startClock()
{
    clockState.frequency = platform::counterFrequency();
    clockState.startCount = platform::counterNow();
}

// Seconds come from a double division of the tick difference; everything stored is
// 32-bit, and the total grows by the stored delta, so it accumulates float rounding.
void updateClock()
{
    assert(clockState.frequency > 0 && "updateClock: the clock has not been started");
    std::int64_t now = platform::counterNow();
    double seconds =
        static_cast<double>(now - clockState.startCount) / static_cast<double>(clockState.frequency);
    clockState.frameDelta = static_cast<float>(seconds - clockState.previousSeconds);
    clockState.previousSeconds = static_cast<float>(seconds);
    clockState.totalTime = clockState.totalTime + clockState.frameDelta;
}

float frameDelta() { return clockState.frameDelta; }

float totalTime() { return clockState.totalTime; }
