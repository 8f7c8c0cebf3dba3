#include "x11_window.h"

#include <X11/Xutil.h>

#include <cstring>
#include <unistd.h>

namespace {

constexpr int pollMicroseconds = 100000;

// A window can vanish between listing it and asking about it (the program opens and
// closes windows while it starts): Xlib's default handler would end the helper then.
// The failed call returns 0 and the walk goes on.
int ignoreVanishedWindow(Display*, XErrorEvent*) { return 0; }

bool hasTitle(Display* display, Window window, const char* title)
{
    char* name = nullptr;
    bool match = XFetchName(display, window, &name) && name && std::strcmp(name, title) == 0;
    if (name) XFree(name);
    XWindowAttributes attributes;
    return match && XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable;
}

// Depth-first over the window tree; 0 when not found.
Window findWindow(Display* display, Window parent, const char* title)
{
    if (hasTitle(display, parent, title)) return parent;
    Window root, up, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, parent, &root, &up, &children, &count)) return 0;
    Window found = 0;
    for (unsigned int i = 0; i < count && !found; ++i) found = findWindow(display, children[i], title);
    if (children) XFree(children);
    return found;
}

}  // namespace

Window waitForWindow(Display* display, const char* title, long seconds)
{
    XSetErrorHandler(ignoreVanishedWindow);
    const long polls = seconds * 1000000L / pollMicroseconds;
    for (long i = 0; i <= polls; ++i) {
        if (Window window = findWindow(display, DefaultRootWindow(display), title)) return window;
        usleep(pollMicroseconds);
    }
    return 0;
}
