// The sound layer's two halves. The shared half (sound.cpp, player.cpp) keeps the
// library's state, loads modules and mixes them; each back end supplies the output:
// what is listed here.
#pragma once

#include <cstddef>
#include <cstdint>

namespace sound {

// The version FSOUND_GetVersion reports.
float outputVersion();
// Opens the output at mixRate Hz, 16-bit stereo; false when no output can be had.
bool openOutput(int mixRate);
void closeOutput();
// Held while the shared half changes what plays, so that an output rendering on
// another thread never sees a half-made change.
void lockOutput();
void unlockOutput();

// Offered by the shared half to the output: mixes every playing module into
// `frames` interleaved stereo frames (silence when nothing plays).
void mixPlaying(std::int16_t* interleavedStereo, std::size_t frames);
// The rate the output was opened at.
int mixRate();

}  // namespace sound
