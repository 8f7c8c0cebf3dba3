// Input state recorded by the window procedure and read by the show each frame.
#pragma once

#include <cstdint>

#include "platform/platform.h"

struct InputState {
    std::int32_t keyHistory[6] = {0, 0, 0, 0, 0, 0};  // newest distinct keys; [5] newest
    bool leftButtonDown = false;  // last message was a mouse move with the left button held
    bool escapePressed = false;   // Escape pressed at least once: the show plays its outro
    bool outroDone = false;       // the outro has run 11 s: the next Escape ends the program
};

extern InputState input;

// The window procedure: records input; closes on the close request and on Escape
// once the outro is done.
long windowProc(const platform::Message& message);

// Sets all six entries of the key history to 0 (done by its readers).
void clearKeyHistory();
