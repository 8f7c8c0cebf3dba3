#include "platform/sdl/keys.h"

#include <SDL.h>

#include "platform/common/keyboard.h"

namespace platform::sdl {

namespace {

struct PlacedKey {
    SDL_Scancode scancode;
    std::uint32_t virtualKey;
};

// Keys named by their place, whatever the layout prints on them.
constexpr PlacedKey placedKeys[] = {
    {SDL_SCANCODE_RETURN, 0x0D},
    {SDL_SCANCODE_ESCAPE, 0x1B},
    {SDL_SCANCODE_BACKSPACE, 0x08},
    {SDL_SCANCODE_TAB, 0x09},
    {SDL_SCANCODE_SPACE, 0x20},
    // punctuation as on a US keyboard; the ISO keyboards' extra key beside Return is
    // the backslash key's place there
    {SDL_SCANCODE_SEMICOLON, 0xBA},
    {SDL_SCANCODE_EQUALS, 0xBB},
    {SDL_SCANCODE_COMMA, 0xBC},
    {SDL_SCANCODE_MINUS, 0xBD},
    {SDL_SCANCODE_PERIOD, 0xBE},
    {SDL_SCANCODE_SLASH, 0xBF},
    {SDL_SCANCODE_GRAVE, 0xC0},
    {SDL_SCANCODE_LEFTBRACKET, 0xDB},
    {SDL_SCANCODE_BACKSLASH, 0xDC},
    {SDL_SCANCODE_NONUSHASH, 0xDC},
    {SDL_SCANCODE_RIGHTBRACKET, 0xDD},
    {SDL_SCANCODE_APOSTROPHE, 0xDE},
    {SDL_SCANCODE_NONUSBACKSLASH, 0xE2},
    // modifiers, left and right alike, and the locks
    {SDL_SCANCODE_LSHIFT, 0x10},
    {SDL_SCANCODE_RSHIFT, 0x10},
    {SDL_SCANCODE_LCTRL, 0x11},
    {SDL_SCANCODE_RCTRL, 0x11},
    {SDL_SCANCODE_LALT, keyAlt},
    {SDL_SCANCODE_RALT, keyAlt},
    {SDL_SCANCODE_MODE, keyAlt},
    {SDL_SCANCODE_LGUI, 0x5B},
    {SDL_SCANCODE_RGUI, 0x5C},
    {SDL_SCANCODE_APPLICATION, 0x5D},
    {SDL_SCANCODE_MENU, 0x5D},
    {SDL_SCANCODE_CAPSLOCK, 0x14},
    {SDL_SCANCODE_NUMLOCKCLEAR, 0x90},
    {SDL_SCANCODE_SCROLLLOCK, 0x91},
    // editing and navigation
    {SDL_SCANCODE_PAUSE, 0x13},
    {SDL_SCANCODE_PAGEUP, 0x21},
    {SDL_SCANCODE_PAGEDOWN, 0x22},
    {SDL_SCANCODE_END, 0x23},
    {SDL_SCANCODE_HOME, 0x24},
    {SDL_SCANCODE_LEFT, 0x25},
    {SDL_SCANCODE_UP, 0x26},
    {SDL_SCANCODE_RIGHT, 0x27},
    {SDL_SCANCODE_DOWN, 0x28},
    {SDL_SCANCODE_SELECT, 0x29},
    {SDL_SCANCODE_EXECUTE, 0x2B},
    {SDL_SCANCODE_PRINTSCREEN, 0x2C},
    {SDL_SCANCODE_INSERT, 0x2D},
    {SDL_SCANCODE_DELETE, 0x2E},
    {SDL_SCANCODE_HELP, 0x2F},
    {SDL_SCANCODE_CLEAR, 0x0C},
    {SDL_SCANCODE_SLEEP, 0x5F},
    // the keypad's keys that Num Lock leaves alone
    {SDL_SCANCODE_KP_MULTIPLY, 0x6A},
    {SDL_SCANCODE_KP_PLUS, 0x6B},
    {SDL_SCANCODE_KP_COMMA, 0x6C},
    {SDL_SCANCODE_KP_MINUS, 0x6D},
    {SDL_SCANCODE_KP_DIVIDE, 0x6F},
    {SDL_SCANCODE_KP_ENTER, 0x0D},
    {SDL_SCANCODE_KP_EQUALS, 0x92},
    // media and browser keys
    {SDL_SCANCODE_AC_BACK, 0xA6},
    {SDL_SCANCODE_AC_FORWARD, 0xA7},
    {SDL_SCANCODE_AC_REFRESH, 0xA8},
    {SDL_SCANCODE_AC_STOP, 0xA9},
    {SDL_SCANCODE_AC_SEARCH, 0xAA},
    {SDL_SCANCODE_AC_BOOKMARKS, 0xAB},
    {SDL_SCANCODE_AC_HOME, 0xAC},
    {SDL_SCANCODE_MUTE, 0xAD},
    {SDL_SCANCODE_AUDIOMUTE, 0xAD},
    {SDL_SCANCODE_VOLUMEDOWN, 0xAE},
    {SDL_SCANCODE_VOLUMEUP, 0xAF},
    {SDL_SCANCODE_AUDIONEXT, 0xB0},
    {SDL_SCANCODE_AUDIOPREV, 0xB1},
    {SDL_SCANCODE_AUDIOSTOP, 0xB2},
    {SDL_SCANCODE_AUDIOPLAY, 0xB3},
    {SDL_SCANCODE_MAIL, 0xB4},
    {SDL_SCANCODE_MEDIASELECT, 0xB5},
    {SDL_SCANCODE_COMPUTER, 0xB6},
    {SDL_SCANCODE_CALCULATOR, 0xB7},
};

constexpr std::uint32_t keyF1 = 0x70, keyF13 = 0x7C;
constexpr std::uint32_t keyNumpad0 = 0x60, keyNumpad1 = 0x61, keyDecimal = 0x6E;

// The keypad's 1..9, 0 and decimal point with Num Lock off: the keys printed below
// the digits (End, Down, Page Down, Left, Clear, Right, Home, Up, Page Up, Insert, Delete).
constexpr std::uint32_t keypadWithoutNumLock[] = {0x23, 0x28, 0x22, 0x25, 0x0C, 0x27,
                                                  0x24, 0x26, 0x21, 0x2D, 0x2E};

bool within(int scancode, SDL_Scancode first, SDL_Scancode last)
{
    return scancode >= first && scancode <= last;
}

std::uint32_t keyFromLayout(std::int32_t keycode)
{
    if (keycode >= SDLK_a && keycode <= SDLK_z) return std::uint32_t('A' + (keycode - SDLK_a));
    if (keycode >= SDLK_0 && keycode <= SDLK_9) return std::uint32_t(keycode);
    return 0;
}

std::uint32_t keypadKey(int scancode, bool numLock)
{
    const int index = scancode - SDL_SCANCODE_KP_1;  // 1..9, then 0, then the point
    if (!numLock) return keypadWithoutNumLock[index];
    if (scancode == SDL_SCANCODE_KP_0) return keyNumpad0;
    if (scancode == SDL_SCANCODE_KP_PERIOD) return keyDecimal;
    return keyNumpad1 + std::uint32_t(index);
}

std::uint32_t keyFromPlace(int scancode, bool numLock)
{
    if (within(scancode, SDL_SCANCODE_1, SDL_SCANCODE_9))
        return std::uint32_t('1' + (scancode - SDL_SCANCODE_1));
    if (scancode == SDL_SCANCODE_0) return '0';
    if (within(scancode, SDL_SCANCODE_F1, SDL_SCANCODE_F12))
        return keyF1 + std::uint32_t(scancode - SDL_SCANCODE_F1);
    if (within(scancode, SDL_SCANCODE_F13, SDL_SCANCODE_F24))
        return keyF13 + std::uint32_t(scancode - SDL_SCANCODE_F13);
    if (within(scancode, SDL_SCANCODE_KP_1, SDL_SCANCODE_KP_PERIOD)) return keypadKey(scancode, numLock);
    for (const PlacedKey& key : placedKeys)
        if (key.scancode == scancode) return key.virtualKey;
    return 0;
}

std::uint32_t letterFromPlace(int scancode)
{
    if (within(scancode, SDL_SCANCODE_A, SDL_SCANCODE_Z))
        return std::uint32_t('A' + (scancode - SDL_SCANCODE_A));
    return 0;
}

}  // namespace

std::uint32_t virtualKeyFor(std::int32_t keycode, int scancode, bool numLock)
{
    if (const std::uint32_t key = keyFromLayout(keycode)) return key;
    if (const std::uint32_t key = keyFromPlace(scancode, numLock)) return key;
    if (const std::uint32_t key = keyboard::punctuationKeyFor(std::uint32_t(keycode))) return key;
    if (const std::uint32_t key = letterFromPlace(scancode)) return key;
    return keyUnnamed;
}

bool isSystemKey(std::uint32_t virtualKey, bool altHeld)
{
    return altHeld || virtualKey == keyAlt || virtualKey == keyF10;
}

}  // namespace platform::sdl
