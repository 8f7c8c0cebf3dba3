// The window with its GL context, viewport and projection.
#pragma once

#include "platform/platform.h"

class Window {
public:
    Window();
    ~Window();
    bool create(const char* title, int width, int height, int colourBits, bool fullScreen,
                bool centred, platform::WindowProc windowProc);
    void resize(int width, int height);
    void initGl();
    void destroy();

private:
    bool hasContext = false;
    bool hasWindow = false;
    platform::WindowProc windowProc = nullptr;
    int width = 0;
    int height = 0;
    float fieldOfView = 45.0f;
    bool fullScreen = false;
    bool centred = false;
};
