// For the process entry: what the sdl back end does when the program has returned.
#pragma once

namespace platform::sdl {

// Releases whatever the program left open (window, context) and shuts SDL down.
void shutdown();

}  // namespace platform::sdl
