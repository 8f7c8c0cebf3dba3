// SDL events become the program's messages: close requests, key downs and ups
// with virtual-key codes, mouse moves and left-button presses in picture pixels
// (a finger on a touch screen arrives as the mouse), everything else as Other.
// Alt+Enter is the back end's own and never arrives.
#include "platform/common/backend.h"
#include "platform/common/letterbox.h"
#include "platform/sdl/keys.h"
#include "platform/sdl/pointer.h"
#include "platform/sdl/state.h"
#include "platform/windows/native_keys.h"

namespace platform::sdl {

namespace {

void queueMessage(MessageKind kind, std::uint32_t wParam = 0)
{
    Message message;
    message.kind = kind;
    message.wParam = wParam;
    message.x = state.cursorX;
    message.y = state.cursorY;
    queue::push(message);
}

bool altHeld(Uint16 modifiers) { return (modifiers & KMOD_ALT) != 0; }

bool isFullScreenToggle(const SDL_KeyboardEvent& key)
{
    return key.type == SDL_KEYDOWN && altHeld(key.keysym.mod) &&
           (key.keysym.sym == SDLK_RETURN || key.keysym.sym == SDLK_KP_ENTER);
}

void translateKey(const SDL_KeyboardEvent& key)
{
    if (isFullScreenToggle(key)) {
        if (!key.repeat) toggleFullScreen();
        return;
    }
    const bool numLock = (key.keysym.mod & KMOD_NUM) != 0;
    const std::uint32_t nativeKey = windows::nativeVirtualKey(key.keysym.scancode);
    const std::uint32_t virtualKey =
        nativeKey ? nativeKey : virtualKeyFor(key.keysym.sym, key.keysym.scancode, numLock);
    if (virtualKey == 0 || isSystemKey(virtualKey, altHeld(key.keysym.mod))) {
        queueMessage(MessageKind::Other);
        return;
    }
    // Held keys repeat as further key downs, as the program's input handling expects.
    queueMessage(key.type == SDL_KEYDOWN ? MessageKind::KeyDown : MessageKind::KeyUp, virtualKey);
}

void translateMotion(const SDL_MouseMotionEvent& motion)
{
    const bool causedByWarp =
        state.warpMotionPending && motion.x == state.warpWindowX && motion.y == state.warpWindowY;
    state.warpMotionPending = false;
    if (causedByWarp) return;  // setCursorPos has reported that move already
    windowToPicture(motion.x, motion.y, state.cursorX, state.cursorY);
    queueMessage(MessageKind::MouseMove, (motion.state & SDL_BUTTON_LMASK) ? mouseLeftButtonBit : 0);
}

void translateButton(const SDL_MouseButtonEvent& button)
{
    if (button.button != SDL_BUTTON_LEFT) {
        queueMessage(MessageKind::Other);
        return;
    }
    windowToPicture(button.x, button.y, state.cursorX, state.cursorY);
    if (button.type == SDL_MOUSEBUTTONDOWN) {
        state.leftPressedSinceQuery = true;
        queueMessage(MessageKind::ButtonDown, mouseLeftButtonBit);
    } else {
        queueMessage(MessageKind::ButtonUp, 0);
    }
}

// A window close is followed by SDL's quit event; Ctrl+C in the terminal gives the
// quit event alone. Either way the program sees one close request.
void translateQuit(bool fromWindow)
{
    if (fromWindow) {
        state.closeDelivered = true;
        queueMessage(MessageKind::Close);
    } else if (state.closeDelivered) {
        state.closeDelivered = false;
    } else {
        queueMessage(MessageKind::Close);
    }
}

void translate(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_QUIT:
        translateQuit(false);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        translateKey(event.key);
        break;
    case SDL_MOUSEMOTION:
        translateMotion(event.motion);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        translateButton(event.button);
        break;
    case SDL_FINGERDOWN:
    case SDL_FINGERUP:
    case SDL_FINGERMOTION:
        break;  // SDL delivers the first finger as the mouse, too: a drag is a mouse drag
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_CLOSE)
            translateQuit(true);
        else
            queueMessage(MessageKind::Other);
        break;
    default:
        queueMessage(MessageKind::Other);
        break;
    }
}

}  // namespace

}  // namespace platform::sdl

namespace platform {

void backend::pumpEvents()
{
    if (!sdl::state.videoReady) return;
    SDL_Event event;
    while (SDL_PollEvent(&event)) sdl::translate(event);
}

bool backend::shiftHeld() { return (SDL_GetModState() & KMOD_SHIFT) != 0; }

}  // namespace platform
