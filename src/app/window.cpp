// The window: creation sequence, viewport and projection, initial GL state, teardown.
#include "app/window.h"

#include <GL/gl.h>

namespace {

constexpr float defaultFieldOfView = 45.0f;  // degrees, vertical
constexpr float nearPlane = 0.1f;            // widened from float on purpose
constexpr float farPlane = 1000.0f;
constexpr int depthBits = 16;

const char* const errorCaption = "ERROR";
const char* const registerFailedText = "Failed To Register The Window Class.";
const char* const windowedQuestionText = "ERROR! windowed instead?";
const char* const createFailedText = "ERROR while creating window";

void showError(const char* text)
{
    platform::messageBox(text, errorCaption, platform::Buttons::Ok, platform::Icon::Exclamation);
}

// The user decides whether a display that cannot go full screen runs windowed.
bool userAcceptsWindowed()
{
    return platform::messageBox(windowedQuestionText, errorCaption, platform::Buttons::YesNo,
                                platform::Icon::Exclamation) == platform::Answer::Yes;
}

}  // namespace

Window::Window() : fieldOfView(defaultFieldOfView) {}

Window::~Window() { destroy(); }

// Full screen hides the cursor (the show draws its own). A centred window sits in
// the middle of the primary screen, each half an integer division.
platform::WindowStyle Window::placeWindow(bool asFullScreen, int& x, int& y) const
{
    x = 0;
    y = 0;
    if (asFullScreen) {
        platform::showCursor(false);
        return platform::WindowStyle::FullScreen;
    }
    if (!centred) return platform::WindowStyle::Overlapped;
    int screenWidth = 0, screenHeight = 0;
    platform::screenSize(screenWidth, screenHeight);
    x = screenWidth / 2 - width / 2;
    y = screenHeight / 2 - height / 2;
    return platform::WindowStyle::Borderless;
}

bool Window::create(const char* title, int requestedWidth, int requestedHeight, int colourBits,
                    bool requestFullScreen, bool requestCentred, platform::WindowProc proc)
{
    windowProc = proc;
    width = requestedWidth;
    height = requestedHeight;
    fullScreen = requestFullScreen;
    centred = requestCentred;
    if (!platform::registerWindowClass(windowProc)) {
        showError(registerFailedText);
        return false;
    }
    bool asFullScreen = fullScreen;
    if (asFullScreen && !platform::changeDisplayMode(width, height, colourBits)) {
        if (!userAcceptsWindowed()) return false;
        asFullScreen = false;
    }
    int x = 0, y = 0;
    platform::WindowStyle style = placeWindow(asFullScreen, x, y);
    hasWindow = platform::createWindow(title, x, y, width, height, style);
    // Without a context nothing could be drawn or loaded: treated like a window
    // that could not be created.
    hasContext = hasWindow && platform::createGlContext(colourBits, depthBits);
    if (!hasContext) {
        destroy();
        showError(createFailedText);
        return false;
    }
    platform::showWindow();
    resize(width, height);
    initGl();
    return true;
}

// The viewport covers the drawable's pixels (a capture may render at a multiple of
// the picture size); the projection keeps the picture's aspect.
void Window::resize(int newWidth, int newHeight)
{
    if (newHeight == 0) newHeight = 1;
    width = newWidth;
    height = newHeight;
    int scale = platform::pixelScale();
    glViewport(0, 0, width * scale, height * scale);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    float aspect = static_cast<float>(width) / static_cast<float>(height);
    platform::perspective(fieldOfView, aspect, nearPlane, farPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// Depth testing stays off: the show layers by drawing order.
void Window::initGl()
{
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    swapBuffers();
}

void Window::swapBuffers() { platform::swapBuffers(); }

// Runs again from the destructor after a failed creation; each step touches only
// what exists, and giving the display back twice changes nothing.
void Window::destroy()
{
    if (fullScreen) {
        platform::restoreDisplayMode();
        platform::showCursor(true);
    }
    if (hasContext) {
        platform::destroyGlContext();
        hasContext = false;
    }
    if (hasWindow) {
        platform::destroyWindow();
        hasWindow = false;
    }
}
