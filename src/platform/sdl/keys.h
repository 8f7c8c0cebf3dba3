// Keys as the program knows them: Windows virtual-key codes.
#pragma once

#include <cstdint>

namespace platform::sdl {

constexpr std::uint32_t keyAlt = 0x12;
constexpr std::uint32_t keyF10 = 0x79;
// What the system reports for a key its keyboard table has no name for.
constexpr std::uint32_t keyUnnamed = 0xFF;

// The virtual-key code of an SDL key; every key has one. Letters and digits follow
// the user's layout (the keycode), letters 65..90 whatever the shift state; every
// other key is named by its place (the scancode): punctuation as on a US keyboard
// (0xBA..0xC0, 0xDB..0xDE), left and right modifiers alike (Shift 0x10, Control
// 0x11, Alt 0x12), the keypad's digits 0x60..0x69 with Num Lock on and the editing
// and navigation keys printed below them with it off. A layout that puts punctuation
// on a letter's place gives that punctuation's key; a non-Latin layout's letters are
// named by their place. Keys the table does not know are keyUnnamed.
std::uint32_t virtualKeyFor(std::int32_t keycode, int scancode, bool numLock);

// Keys the system keeps for itself (Alt and Alt combinations, F10): not key downs
// for the program.
bool isSystemKey(std::uint32_t virtualKey, bool altHeld);

}  // namespace platform::sdl
