// Keys as the program knows them: Windows virtual-key codes.
#pragma once

#include <cstdint>

namespace platform::sdl {

constexpr std::uint32_t keyF10 = 121;

// The virtual-key code of an SDL key (keycode first, so the user's layout decides,
// then the scancode for letters and digits), or 0 when the program has none for it:
// letters 65..90 whatever the shift state, digits 48..57, Escape 27, Return 13,
// Space 32, Backspace 8, Tab 9, arrows 37..40, F1..F12 112..123.
std::uint32_t virtualKeyFor(std::int32_t keycode, int scancode);

// Keys the system keeps for itself (Alt combinations, F10): not key downs for the program.
bool isSystemKey(std::uint32_t virtualKey, bool altHeld);

}  // namespace platform::sdl
