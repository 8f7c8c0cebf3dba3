// Input state recorded by the window procedure and read by the show each frame.
// Written only by the window procedure, except where a reader clears or sets it as
// noted; never reset while the program runs.
#pragma once

#include <cstdint>

#include "platform/platform.h"

constexpr int keyHistoryLength = 6;

struct InputState {
    // Virtual-key codes of the most recent distinct key presses; [0] oldest, [5] newest.
    std::int32_t keyHistory[keyHistoryLength] = {0, 0, 0, 0, 0, 0};
    bool leftButtonDown = false;  // last message was a mouse move with the left button held
    bool escapePressed = false;   // Escape pressed at least once: the show plays its outro
    bool outroDone = false;       // set by the outro after 11 s: the next Escape ends the program
};

extern InputState input;

// The window procedure: records input; posts the quit message on the close request
// and on Escape once the outro is done.
long windowProc(const platform::Message& message);

// Sets all six entries of the key history to 0 (done by its readers: the show at
// start-up, the unlock check after a match).
void clearKeyHistory();
