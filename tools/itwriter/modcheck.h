// Renders a module with the player library and measures it: what the music's tests
// and the itcheck tool look at (warnings, length, peak, quiet stretches, loudness).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace itw {

struct ModuleReport {
    bool loaded = false;
    std::string error;  // why it did not load
    std::string log;    // the player's warnings while loading
    int channels = 0, samples = 0, patterns = 0, orders = 0;
    double seconds = 0;             // one pass, up to where the song loops
    double peak = 0;                // largest sample magnitude, 1 = full scale
    double longestQuiet = 0;        // seconds, longest run of quiet windows
    double longestQuietAt = 0;      // where that run starts
    std::vector<double> windowRms;  // RMS of each window
};

constexpr double windowSeconds = 0.1;
constexpr double quietRms = 0.001;  // -60 dBFS

// Loads the bytes and renders `passes` times through the song at `rate` Hz.
ModuleReport checkModule(const std::vector<char>& bytes, int rate, int passes);

}  // namespace itw
