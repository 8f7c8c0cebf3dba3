// Control of the headless back end, for tests and the capture tool. The program
// itself never includes this header: it runs unchanged on top of platform.h.
//
// The headless back end draws off screen into a (640 x scale) x (480 x scale) RGBA
// buffer with no display, keeps a virtual high-resolution counter that advances by
// one fixed step at every buffer swap, feeds a script of timed input events into the
// message queue, records every message box and answers it as scripted, and renders
// the sound in step with the virtual clock.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform.h"

namespace headless {

// One scripted input event. Times are seconds of the program's clock: they count
// from the first reading of the high-resolution counter (the program takes it when
// it starts its clock, after loading), and an event is queued as soon as the virtual
// counter has reached its time.
struct Event {
    enum class Kind { Key, Mouse, ButtonDown, ButtonUp, Close, Answer };
    double time = 0;
    Kind kind = Kind::Key;
    int key = 0;          // Key: virtual-key code
    int x = 0, y = 0;     // Mouse: picture pixels
    bool yes = true;      // Answer: the answer for the next message box shown from then on
};

struct Config {
    // Virtual counter: `ticksPerSecond` ticks per second, `ticksPerFrame` per swap,
    // so any rational frame rate is exact (60000/1001: 60000 and 1001).
    std::int64_t ticksPerSecond = 60;
    std::int64_t ticksPerFrame = 1;
    int scale = 1;                      // render at scale x 640 x 480
    std::vector<Event> script;
    // Failures to simulate, for tests of the program's reactions.
    bool failWindowClass = false;
    bool failDisplayMode = false;
    bool failWindowCreation = false;
    bool failSoundInit = false;
    float soundVersion = 3.61f;         // what FSOUND_GetVersion reports
    // Sound: rendered to this 16-bit stereo 44100 Hz WAV file; empty: dropped.
    std::string wavPath;
    // Called at every buffer swap with the frame just drawn, before the counter moves.
    std::function<void(std::uint64_t frameIndex)> onSwap;
};

// Call before the program's entry runs.
void configure(const Config& config);

struct MessageBoxRecord {
    std::string caption;   // as the program passed it (Windows-1252)
    std::string text;
    platform::Buttons buttons;
    platform::Answer answer;
};
const std::vector<MessageBoxRecord>& messageBoxes();

// The picture as it is now: width x height RGBA, top row first.
struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgba;
};
Picture readPicture();
bool savePng(const Picture& picture, const std::string& path);

std::uint64_t framesSwapped();
// Seconds of the program's clock (see Event) at the current counter value.
double clockSeconds();
// Sound samples (per channel) written so far; finishes the WAV header so the
// file is valid at any moment after a call.
void flushSound();

}  // namespace headless
