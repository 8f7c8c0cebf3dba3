// Writes a Song and its synthesised samples as an Impulse Tracker module (sample
// mode, linear slides, 16-bit signed uncompressed samples).
#pragma once

#include "song.h"
#include "synth.h"

#include <cstdint>
#include <string>
#include <vector>

namespace itw {

// The module's bytes; false with `error` when the song cannot be written (for example
// when the last row has no free effect column for the jump back to the loop).
bool writeIt(const Song& song, const std::vector<SampleData>& samples, std::vector<uint8_t>& out,
             std::string& error);

}  // namespace itw
