// Virtual-key codes as the system itself gives them, where it has them: on Windows
// the code of the key message behind each SDL key event. Elsewhere (and for keys
// the system sent no message for) sdl/keys.h maps SDL's keys to the same codes.
#pragma once

#include <cstdint>

namespace platform::windows {

#ifdef _WIN32
// Starts listening to the system's key messages; call once SDL's video is up.
void watchNativeKeys();
// The virtual-key code the system gave with the latest message of this SDL
// scancode's key, or 0 when it gave none.
std::uint32_t nativeVirtualKey(int scancode);
#else
inline void watchNativeKeys() {}
inline std::uint32_t nativeVirtualKey(int) { return 0; }
#endif

}  // namespace platform::windows
