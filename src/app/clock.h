// The frame clock: one process-wide clock on the platform's high-resolution counter.
// Every animation reads the same two values during a frame.
//
// Total time is the running sum of the stored 32-bit deltas, not a fresh reading of
// the counter: it carries the rounding of every step, as the show's timing expects.
#pragma once

#include <cstdint>

struct ClockState {
    std::int64_t frequency = 0;    // counter ticks per second
    std::int64_t startCount = 0;   // counter value at the clock's zero
    float previousSeconds = 0.0f;  // seconds since zero at the previous update
    float frameDelta = 0.0f;       // seconds between the last two updates
    float totalTime = 0.0f;        // running sum of all frame deltas
};

extern ClockState clockState;

// Takes the clock's zero: once, after all loading, right before the main loop.
void startClock();
// One step, after startClock: called by the timeline once per frame, before any
// effect runs.
void updateClock();
float frameDelta();
float totalTime();
