// The invitation text on its translucent panel, scrolled by holding the left
// button with the pointer at the top or bottom edge of the screen.
#pragma once

struct ScrollerState {
    float scrollY = 8.0f;         // pen line of the text's first line; within [8, 250]
    float scrollerSlide = 20.0f;  // glide-in offset; decays from the first call on
};

extern ScrollerState scroller;

// One frame's scroll step: 0.32 per frame (not per second), clamped to [8, 250].
float scrolledY(float scrollY, bool up, bool down);

void drawScroller();
