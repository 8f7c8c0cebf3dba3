// The window with its GL context, viewport and projection.
//
// The program uses one Window, 640 x 480 at 32 bits, full screen; when the display
// cannot be had full screen the user is asked whether to run in a centred
// borderless window instead.
#pragma once

#include "platform/platform.h"

class Window {
public:
    Window();
    ~Window();  // runs destroy
    // Stores the request, then creates class, display mode, window and context,
    // sets viewport and projection and shows one black frame. False after the
    // failure's message box; the window failures post no quit message.
    bool create(const char* title, int width, int height, int colourBits, bool fullScreen, bool centred,
                platform::WindowProc windowProc);
    // Viewport over the drawable and the fixed perspective for a client of that size.
    void resize(int width, int height);
    // Initial GL state, a cleared picture and one swap: the screen shows black.
    void initGl();
    // Gives the display back and releases context and window (those that exist).
    void destroy();
    // Presents the frame drawn since the last swap.
    void swapBuffers();

    int clientWidth() const { return width; }
    int clientHeight() const { return height; }
    float fieldOfViewDegrees() const { return fieldOfView; }

private:
    platform::WindowStyle placeWindow(bool asFullScreen, int& x, int& y) const;

    bool hasContext = false;
    bool hasWindow = false;
    platform::WindowProc windowProc = nullptr;
    int width = 0;
    int height = 0;  // never 0 after resize
    float fieldOfView = 0.0f;
    bool fullScreen = false;  // as requested; kept after the windowed fallback
    bool centred = false;
};
