#include "platform/sdl/keys.h"

#include <SDL.h>

namespace platform::sdl {

namespace {

constexpr std::uint32_t keyLeft = 37, keyUp = 38, keyRight = 39, keyDown = 40;
constexpr std::uint32_t keyF1 = 112;
constexpr int functionKeys = 12;

std::uint32_t keyFromKeycode(std::int32_t key)
{
    if (key >= SDLK_a && key <= SDLK_z) return std::uint32_t('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9) return std::uint32_t(key);
    if (key >= SDLK_F1 && key < SDLK_F1 + functionKeys) return keyF1 + std::uint32_t(key - SDLK_F1);
    switch (key) {
    case SDLK_ESCAPE:
    case SDLK_RETURN:
    case SDLK_SPACE:
    case SDLK_BACKSPACE:
    case SDLK_TAB: return std::uint32_t(key);  // SDL uses the ASCII codes, as Windows does
    case SDLK_LEFT: return keyLeft;
    case SDLK_UP: return keyUp;
    case SDLK_RIGHT: return keyRight;
    case SDLK_DOWN: return keyDown;
    default: return 0;
    }
}

std::uint32_t keyFromScancode(int scancode)
{
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) return std::uint32_t('A' + (scancode - SDL_SCANCODE_A));
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) return std::uint32_t('1' + (scancode - SDL_SCANCODE_1));
    if (scancode == SDL_SCANCODE_0) return '0';
    return 0;
}

}  // namespace

std::uint32_t virtualKeyFor(std::int32_t keycode, int scancode)
{
    const std::uint32_t key = keyFromKeycode(keycode);
    return key ? key : keyFromScancode(scancode);
}

bool isSystemKey(std::uint32_t virtualKey, bool altHeld) { return altHeld || virtualKey == keyF10; }

}  // namespace platform::sdl
