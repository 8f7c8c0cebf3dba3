// One loaded module and its player, behind the sound library's opaque handle.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

namespace openmpt {
class module;
}

struct FMUSIC_MODULE {
    std::ostringstream log;                   // the player's warnings go here, never to the terminal
    std::unique_ptr<openmpt::module> player;  // declared after log: destroyed before it
    FMUSIC_MODULE();
    ~FMUSIC_MODULE();
};

namespace sound {

// Reads and parses a module file; null with the library's error code in `error`
// (file not found, unknown format, error loading file, not enough memory).
FMUSIC_MODULE* loadModule(const char* path, int& error);
// Back to the start of the song.
void rewind(FMUSIC_MODULE& module);
// Renders `frames` stereo frames at `rate`, adding them (saturating) to `out`.
void renderAdding(FMUSIC_MODULE& module, int rate, std::int16_t* out, std::size_t frames);

}  // namespace sound
