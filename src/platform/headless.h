// Control of the headless back end, for tests and the capture tool. The program
// itself never includes this header: it runs unchanged on top of platform.h.
//
// The headless back end draws off screen into a (640 x scale) x (480 x scale) RGBA
// buffer with no display, keeps a virtual high-resolution counter that advances by
// one fixed step at every buffer swap, feeds a script of timed input events into the
// message queue, records every message box and answers it as scripted, and renders
// the sound in step with the virtual clock.
//
// Using it from a test (link zw_platform_headless; never libGL or SDL in the same
// binary):
//
//     headless::Config config;
//     config.ticksPerSecond = 60000;  config.ticksPerFrame = 1001;   // 59.94 frames/s
//     config.script = {{1.0, headless::Event::Kind::Key, 'A'},
//                      {2.5, headless::Event::Kind::Close}};
//     config.wavPath = "/tmp/run.wav";                               // optional
//     headless::configure(config);          // resets everything, also between runs
//     int code = platform::programEntry();  // or drive the platform calls directly
//     headless::Picture frame = headless::readPicture();
//     EXPECT_EQ(headless::messageBoxes().size(), 0u);
//
// Without a program: registerWindowClass, createWindow(.., 640, 480, ..) and
// createGlContext(32, 16) give a current GL context; each swapBuffers is one frame.
//
// Time 0 of the script and of the sound is the FIRST reading of counterNow(), which
// the program takes when it starts its clock (after all loading). Before that the
// script's time is 0: only events at time 0 (or earlier) are due, e.g. answers to
// message boxes shown during start-up. Nothing else may read the counter earlier.
// Events are taken in when due, at every swap and at every peekMessage,
// messageBox, getCursorPos and asyncLeftButton call.
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
    int key = 0;       // Key: virtual-key code; queues KeyDown, then KeyUp
    int x = 0, y = 0;  // Mouse: picture pixels (clamped to the picture); queues MouseMove
                       // with the button bit as held. ButtonDown/Up: queue their message
                       // at the pointer and change the button state. Close: queues Close.
    bool yes = true;   // Answer: answers the next Yes/No box shown from then on (used up by
                       // it; OK boxes leave it). Due answers queue up; with none: Yes.
};

struct Config {
    // Virtual counter: `ticksPerSecond` ticks per second, `ticksPerFrame` per swap,
    // so any rational frame rate is exact (60000/1001: 60000 and 1001).
    std::int64_t ticksPerSecond = 60;
    std::int64_t ticksPerFrame = 1;
    int scale = 1;  // render at scale x 640 x 480 (1..16); pixelScale()
    // (Rates that are not positive, or a scale out of range, fall back to the defaults
    // with a line on stderr.)
    std::vector<Event> script;
    // Failures to simulate, for tests of the program's reactions.
    bool failWindowClass = false;
    bool failDisplayMode = false;
    bool failWindowCreation = false;
    bool failSoundInit = false;
    float soundVersion = 3.61f;  // what FSOUND_GetVersion reports
    // Sound: rendered to this 16-bit stereo WAV file at FSOUND_Init's rate (44100 Hz);
    // opened by FSOUND_Init, complete after FSOUND_Close (or any flushSound); empty:
    // dropped, not rendered.
    std::string wavPath;
    // What programDirectory() answers: the folder of a program the test pretends to
    // run. Empty (the capture tool's case): the program has no folder of its own and
    // stays in the one it was started in.
    std::string programDirectory;
    // Called at every buffer swap with the frame just drawn, before the counter moves.
    // frameIndex counts swaps from 0; the program's first swap (the black picture
    // before loading) is frame 0.
    std::function<void(std::uint64_t frameIndex)> onSwap;
};

// Call before the program's entry runs. Resets everything: counter, script, queue,
// boxes, GL context, sound (an open sound library is closed first).
void configure(const Config& config);

struct MessageBoxRecord {
    std::string caption;  // as the program passed it (Windows-1252)
    std::string text;
    platform::Buttons buttons;
    platform::Answer answer;
};
const std::vector<MessageBoxRecord>& messageBoxes();

// The picture as it is now: width x height RGBA, top row first (empty with no GL
// context). Inside onSwap it is the frame just drawn.
struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgba;
};
Picture readPicture();
bool savePng(const Picture& picture, const std::string& path);

std::uint64_t framesSwapped();
// Whether the program has the mouse cursor shown (showCursor); true at the start.
bool cursorVisible();
// Seconds of the program's clock (see Event) at the current counter value.
double clockSeconds();
// Sound samples (per channel) written so far; finishes the WAV header so the
// file is valid at any moment after a call (also with the sound still running).
std::uint64_t flushSound();

}  // namespace headless
