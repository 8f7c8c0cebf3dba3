// The sun's ray fan with its glow, and the alpine landscape: mountains that rise
// and drift, two meadows sliding in with Marlu, and the birds from 15 s on.
#pragma once

#include "gfx/color.h"

struct LandscapeState {
    float mountainDrop = 7.0f;    // how far the mountains still sit below their place
    float sinkFactor = 0.1f;      // grows while sinking (outro)
    float landscapeClock = 0.0f;  // seconds since the first drawLandscape
    float driftClock = 0.0f;      // like landscapeClock, but stops at 8
    float mountainDrift = 0.0f;   // horizontal offset of the mountains
    float meadowSlide = 3.0f;     // extra offset of the meadows; decays to 0
};

extern LandscapeState landscape;

// A 0..1 colour as bytes (each channel x 255, truncated).
Color toByteColour(const float (&colour)[3]);

// Advances the landscape's clocks and offsets by dt (no drawing).
void advanceLandscape(bool sink, float dt);

// The haze over the sky, with the haze texture the caller has bound: depth test
// off, added by its alpha at a fifth, 6 back. Leaves blending on and the
// translation on the matrix.
void drawHazeLayer();
// Nine rays from the sun colour to the sky colour, and the sun glow on top.
void drawSunRays(float radius, Color sun, Color sky);
// The landscape; with `sink` it sinks out of view and the birds stop returning.
void drawLandscape(bool sink);
