// The headless back end's process-wide state, shared by its files. Everything
// starts as written here and is reset by headless::configure.
#pragma once

#include <GL/osmesa.h>

#include <cstdint>
#include <cstdio>
#include <deque>
#include <vector>

#include "platform/headless.h"

namespace headless {

constexpr int pictureWidth = 640;
constexpr int pictureHeight = 480;
constexpr int maxScale = 16;  // 16 x 640 stays within the off-screen renderer's limit
constexpr int screenWidth = 1024;
constexpr int screenHeight = 768;

struct HeadlessState {
    Config config;
    // Virtual counter: starts at 0, moves only at swaps.
    std::int64_t counter = 0;
    bool clockStarted = false;   // set by the first counterNow reading
    std::int64_t clockZero = 0;  // counter value at that reading: time 0 of script and sound
    std::uint64_t frames = 0;    // swaps so far
    std::size_t nextEvent = 0;   // first script event not yet delivered
    std::deque<bool> answers;    // due Answer events, oldest first (true = Yes)
    std::vector<MessageBoxRecord> boxes;
    // Pointer and button, in picture pixels.
    int cursorX = pictureWidth / 2;
    int cursorY = pictureHeight / 2;
    bool cursorVisible = true;
    bool leftHeld = false;
    bool leftPressedSinceQuery = false;
    // Window and off-screen GL.
    bool windowClassRegistered = false;
    bool windowCreated = false;
    int windowWidth = pictureWidth;  // picture size asked for by createWindow
    int windowHeight = pictureHeight;
    OSMesaContext context = nullptr;
    int drawableWidth = 0;
    int drawableHeight = 0;
    std::vector<std::uint8_t> drawable;  // RGBA, bottom row first, as the renderer keeps it
    // Sound output.
    bool soundOpen = false;
    std::FILE* wav = nullptr;
    std::uint64_t soundFrames = 0;  // stereo frames accounted for since time 0
};

extern HeadlessState state;

// Ticks since time 0 (0 before the clock has started).
std::int64_t elapsedTicks();
// Renders (or, with no WAV file, just counts) the sound up to the current counter.
void renderSoundToClock();
// Closes the WAV file with a valid header.
void closeWav();

}  // namespace headless
