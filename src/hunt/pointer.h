// The show's own mouse pointer (cursor, edge arrows, crosshair over a bird), the
// shots, and the score line of the hunt.
#pragma once

#include <cstddef>

#include "media/texture.h"

struct Flock;

// The three pointer sprites, loaded by the show.
struct PointerSprites {
    TexturePair normal;  // cursor in the middle band
    TexturePair hover;   // crosshair over a living bird
    TexturePair edge;    // arrow in the top and bottom bands (turned at the bottom)
};

struct PointerState {
    float pointerScale = 0.0f;  // size of the pointer quad; -1 turns the arrow over
    bool shotLatch = false;     // a shot was fired; the next waits until it is cleared
};

extern PointerState pointerState;

enum class PointerBand { Top, Middle, Bottom };

// Screen rows 20..460 are the middle band.
PointerBand pointerBandFor(int py);
// The scale step of the band rule: the arrow turns over at the bottom, the cursor
// comes back at full size, and otherwise grows from nothing in its first second.
float nextPointerScale(float scale, PointerBand band, float dt);

// Reads the cursor, hovers, shoots and draws the pointer in the birds' plane.
void updatePointer(Flock& flock, const PointerSprites& sprites);

// "kill em all! - dead: %d alive: %d ratio: %.2f%%" into `out`.
void formatScoreLine(int dead, int alive, char* out, std::size_t size);
