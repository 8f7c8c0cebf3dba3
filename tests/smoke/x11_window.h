// The program's window on the X display, for the real-window test helpers.
#pragma once

#include <X11/Xlib.h>

// Waits up to `seconds` for a mapped window named `title`; 0 when none appeared.
Window waitForWindow(Display* display, const char* title, long seconds);
