// Time of the desktop back end: the system's high-resolution counter.
#include "platform/sdl/state.h"

namespace platform {

std::int64_t counterFrequency() { return std::int64_t(SDL_GetPerformanceFrequency()); }
std::int64_t counterNow() { return std::int64_t(SDL_GetPerformanceCounter()); }
std::uint32_t tickCount() { return std::uint32_t(SDL_GetTicks64()); }
void yieldProcessor() { SDL_Delay(0); }

}  // namespace platform
