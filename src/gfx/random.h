// The show's random numbers: the logo's last tilt and the birds' speeds and heights.
// The generator is the program's own, so every platform draws the same sequence, and
// no library in the process (they call the C library's rand and srand too) can move it.
// It starts at 1 and is never seeded: every run draws the same show.
#pragma once

#include <cstdint>

struct RandomState {
    std::uint32_t state = 1;
};

extern RandomState randomState;

// The next number, 0..32767: state = state x 214013 + 2531011 (mod 2^32), and the
// number is bits 16..30 of the new state. From the start: 41, 18467, 6334, ...
int nextRandom();
