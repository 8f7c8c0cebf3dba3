// The keyboard the program's key codes describe: Windows virtual-key codes on a US
// layout. Shared by every back end, so a key gives the same character messages
// whichever of them delivered it.
#pragma once

#include <cstdint>

namespace platform::keyboard {

// The punctuation key (0xBA..0xC0, 0xDB..0xDE) that types `character` on a US
// keyboard, shifted or not (';' and ':' are both 0xBA); 0 for any other character.
std::uint32_t punctuationKeyFor(std::uint32_t character);

// The character a key down produces on a US keyboard, or 0 when it produces none:
// letters (lower case unless shifted), the digit row (its symbols when shifted), the
// punctuation keys, the keypad's digits and operators, Space, Escape, Return,
// Backspace and Tab. Modifiers, locks, function, editing and navigation keys give none.
std::uint32_t characterFor(std::uint32_t virtualKey, bool shifted);

}  // namespace platform::keyboard
