// What the shared parts of the platform layer (message queue, pointer, sound) need from the
// back end they are linked into. Each back end implements every call listed here (the
// desktop and the page in sdl/); nothing outside src/platform/ includes this header.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace platform::backend {

// Moves whatever input the back end has collected (SDL events, due script events)
// into the message queue and the cursor and button state.
void pumpEvents();
// True while a Shift key is held (decides the case of translated letters).
bool shiftHeld();
// The cursor in picture pixels, as the last pump left it.
void cursorPosition(int& x, int& y);
// True when the left button is down now or was pressed since the previous call;
// clears the pressed-since mark.
bool takeLeftButton();

}  // namespace platform::backend

namespace platform::queue {

// The message queue shared by every back end: first in, first out, except that a
// mouse move arriving while the newest pending message is a mouse move replaces it.
void push(const Message& message);
bool pop(Message& out);
void clear();
// The window procedure that dispatchMessage calls (null: default processing only).
void setWindowProc(WindowProc proc);

}  // namespace platform::queue
