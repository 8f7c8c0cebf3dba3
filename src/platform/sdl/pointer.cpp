// Cursor calls of the desktop and the page. Positions are picture pixels, mapped
// through the scaling and the bars of the window; a pointer on a bar is at the
// nearest edge of the picture.
#include "platform/sdl/pointer.h"

#include <algorithm>

#include "platform/common/backend.h"
#include "platform/common/letterbox.h"
#include "platform/sdl/state.h"

namespace platform::sdl {

namespace {

Letterbox pictureInWindow()
{
    int width = state.pictureWidth, height = state.pictureHeight;
    if (state.window) SDL_GetWindowSize(state.window, &width, &height);
    return fitPicture(width, height, state.pictureWidth, state.pictureHeight);
}

bool windowHasFocus() { return state.window && SDL_GetKeyboardFocus() == state.window; }

}  // namespace

void windowToPicture(int windowX, int windowY, int& x, int& y)
{
    surfaceToPicture(pictureInWindow(), windowX, windowY, x, y);
}

void pictureToWindow(int x, int y, int& windowX, int& windowY)
{
    pictureToSurface(pictureInWindow(), x, y, windowX, windowY);
}

}  // namespace platform::sdl

namespace platform {

using sdl::state;

void showCursor(bool visible)
{
    if (state.videoReady) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

void setCursorPos(int x, int y)
{
    x = std::clamp(x, 0, state.pictureWidth - 1);
    y = std::clamp(y, 0, state.pictureHeight - 1);
    if (x == state.cursorX && y == state.cursorY) return;
    state.cursorX = x;
    state.cursorY = y;
    // The pointer is only taken where the user is looking at the show.
    if (sdl::windowHasFocus()) {
        sdl::pictureToWindow(x, y, state.warpWindowX, state.warpWindowY);
        state.warpMotionPending = true;
        SDL_WarpMouseInWindow(state.window, state.warpWindowX, state.warpWindowY);
    }
    Message move;
    move.kind = MessageKind::MouseMove;
    move.wParam = (SDL_GetMouseState(nullptr, nullptr) & SDL_BUTTON_LMASK) ? mouseLeftButtonBit : 0;
    move.x = x;
    move.y = y;
    queue::push(move);
}

void backend::cursorPosition(int& x, int& y)
{
    x = state.cursorX;
    y = state.cursorY;
}

bool backend::takeLeftButton()
{
    const bool downNow = (SDL_GetMouseState(nullptr, nullptr) & SDL_BUTTON_LMASK) != 0;
    const bool down = downNow || state.leftPressedSinceQuery;
    state.leftPressedSinceQuery = false;
    return down;
}

}  // namespace platform
