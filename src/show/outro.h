// The outro: deep orange sky, the landscape sinking, Fenno sliding in, the credits
// zooming in band by band, the fade to black and the closing texts. Escape ends
// the program from 11 s on; at 17 s the outro ends it by itself.
#pragma once

class Effect;

struct OutroState {
    bool started = false;
    float fennoOffset = 5.0f;                        // Fenno's way still to slide
    float bandShrink[4] = {1.0f, 1.0f, 1.0f, 1.0f};  // 1 - size factor of each band
    float textDrop = 12.0f;                          // the closing texts' way still to rise
};

extern OutroState outro;

// The colour blend toward the outro's orange: 0 until 2 s, complete at 3.25 s.
float outroBlend(float t);

// Where credits band `band` (in drawing order, 0..3) sits on its small closed path
// around the anchor at turn w (a quarter turn per second of total time).
void creditsBandOffset(int band, float w, float& x, float& y);

// One frame of the outro; its first frame sets the show's local time back to 0.
void drawOutro(Effect& show);
