// The virtual-key codes of Windows' own key messages, for the program's key downs.
// SDL reads each posted message (our hook sees it first) and turns a key message
// into one key event while dispatching it; an event watch, called as the event is
// queued, files the message's code under the event's scancode. Key events SDL
// makes up without a message (all keys up when the window loses the focus) keep
// the code the key's last message gave.
#include <SDL.h>

#include <iterator>

#include "platform/windows/native_keys.h"

namespace platform::windows {

namespace {

constexpr unsigned keyDownMessage = 0x0100;     // WM_KEYDOWN
constexpr unsigned keyUpMessage = 0x0101;       // WM_KEYUP
constexpr unsigned sysKeyDownMessage = 0x0104;  // WM_SYSKEYDOWN
constexpr unsigned sysKeyUpMessage = 0x0105;    // WM_SYSKEYUP

struct NativeKeyState {
    std::uint32_t messageKey = 0;  // code of the message being dispatched; 0: not a key message
    std::uint32_t codes[SDL_NUM_SCANCODES] = {};
};
NativeKeyState nativeKeys;

bool isKeyMessage(unsigned message)
{
    return message == keyDownMessage || message == keyUpMessage || message == sysKeyDownMessage ||
           message == sysKeyUpMessage;
}

void SDLCALL seeMessage(void*, void*, unsigned message, Uint64 wParam, Sint64)
{
    nativeKeys.messageKey = isKeyMessage(message) ? std::uint32_t(wParam & 0xFF) : 0;
}

int SDLCALL fileKeyEvent(void*, SDL_Event* event)
{
    const bool key = event->type == SDL_KEYDOWN || event->type == SDL_KEYUP;
    const int scancode = key ? int(event->key.keysym.scancode) : -1;
    if (nativeKeys.messageKey != 0 && scancode >= 0 && scancode < int(std::size(nativeKeys.codes)))
        nativeKeys.codes[scancode] = nativeKeys.messageKey;
    return 1;
}

}  // namespace

void watchNativeKeys()
{
    SDL_SetWindowsMessageHook(seeMessage, nullptr);
    SDL_DelEventWatch(fileKeyEvent, nullptr);  // SDL may have been started before
    SDL_AddEventWatch(fileKeyEvent, nullptr);
}

std::uint32_t nativeVirtualKey(int scancode)
{
    if (scancode < 0 || scancode >= int(std::size(nativeKeys.codes))) return 0;
    return nativeKeys.codes[scancode];
}

}  // namespace platform::windows
