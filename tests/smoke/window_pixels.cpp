// zw_window_pixels TITLE X,Y ...: prints "X,Y R G B" for each pixel of the program's
// 640 x 480 picture as its window shows it now, found through the same scaling and
// bars as the program's own. Exit 0 when printed, 1 when no window named TITLE is
// mapped, 2 for a bad argument or without a display.
#include <X11/Xutil.h>

#include <cstdio>

#include "platform/common/letterbox.h"
#include "x11_window.h"

namespace {

constexpr int pictureWidth = 640;
constexpr int pictureHeight = 480;

bool parsePoint(const char* text, int& x, int& y)
{
    return std::sscanf(text, "%d,%d", &x, &y) == 2 && x >= 0 && x < pictureWidth && y >= 0 &&
           y < pictureHeight;
}

void printPixel(Display* display, Window window, const platform::Letterbox& box, int x, int y)
{
    int windowX = 0, windowY = 0;
    platform::pictureToSurface(box, x, y, windowX, windowY);
    XImage* image = XGetImage(display, window, windowX, windowY, 1, 1, AllPlanes, ZPixmap);
    if (!image) return;
    const unsigned long pixel = XGetPixel(image, 0, 0);
    std::printf("%d,%d %lu %lu %lu\n", x, y, (pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    XDestroyImage(image);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: zw_window_pixels TITLE X,Y ...\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "zw_window_pixels: no X display\n");
        return 2;
    }
    const Window window = waitForWindow(display, argv[1], 0);
    if (!window) {
        std::fprintf(stderr, "zw_window_pixels: no window named '%s'\n", argv[1]);
        return 1;
    }
    XWindowAttributes attributes;
    XGetWindowAttributes(display, window, &attributes);
    const platform::Letterbox box =
        platform::fitPicture(attributes.width, attributes.height, pictureWidth, pictureHeight);
    for (int i = 2; i < argc; ++i) {
        int x = 0, y = 0;
        if (!parsePoint(argv[i], x, y)) {
            std::fprintf(stderr, "zw_window_pixels: '%s' is not a picture pixel X,Y\n", argv[i]);
            return 2;
        }
        printPixel(display, window, box, x, y);
    }
    XCloseDisplay(display);
    return 0;
}
