// zw_close_window TITLE SECONDS: waits up to SECONDS for a mapped window named TITLE
// on the X display, prints the colour at its centre, and asks it to close the way a
// window manager does (a WM_DELETE_WINDOW message). Exit 0 when the request was
// sent, 1 when no such window appeared, 2 without a display.
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>

#include "x11_window.h"

namespace {

void printCentreColour(Display* display, Window window)
{
    XWindowAttributes attributes;
    XGetWindowAttributes(display, window, &attributes);
    XImage* image =
        XGetImage(display, window, attributes.width / 2, attributes.height / 2, 1, 1, AllPlanes, ZPixmap);
    if (!image) return;
    unsigned long pixel = XGetPixel(image, 0, 0);
    std::printf("window %dx%d, centre colour #%06lx\n", attributes.width, attributes.height,
                pixel & 0xFFFFFF);
    XDestroyImage(image);
}

void requestClose(Display* display, Window window)
{
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: zw_close_window TITLE SECONDS\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "zw_close_window: no X display\n");
        return 2;
    }
    const Window window = waitForWindow(display, argv[1], std::atol(argv[2]));
    if (!window) {
        std::fprintf(stderr, "zw_close_window: no window named '%s' appeared\n", argv[1]);
        return 1;
    }
    printCentreColour(display, window);
    requestClose(display, window);
    XCloseDisplay(display);
    return 0;
}
