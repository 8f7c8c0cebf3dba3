#include "platform/common/letterbox.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace platform {

namespace {

int pictureCoordinate(int surface, int offset, int extent, int pictureExtent)
{
    if (extent <= 0 || pictureExtent <= 0) return 0;
    const double scale = double(extent) / pictureExtent;
    const int value = int(std::floor((surface + 0.5 - offset) / scale));
    return std::clamp(value, 0, pictureExtent - 1);
}

int surfaceCoordinate(int picture, int offset, int extent, int pictureExtent)
{
    if (pictureExtent <= 0) return offset;
    const double scale = double(extent) / pictureExtent;
    return offset + int(std::floor((picture + 0.5) * scale));
}

}  // namespace

Letterbox fitPicture(int surfaceWidth, int surfaceHeight, int pictureWidth, int pictureHeight)
{
    Letterbox box;
    box.pictureWidth = pictureWidth;
    box.pictureHeight = pictureHeight;
    if (surfaceWidth <= 0 || surfaceHeight <= 0 || pictureWidth <= 0 || pictureHeight <= 0) return box;
    // Compare the aspects in integers so an exact 4:3 surface gets no bar at all.
    if (std::int64_t(surfaceWidth) * pictureHeight > std::int64_t(surfaceHeight) * pictureWidth) {
        box.height = surfaceHeight;
        box.width = int(std::int64_t(surfaceHeight) * pictureWidth / pictureHeight);
    } else {
        box.width = surfaceWidth;
        box.height = int(std::int64_t(surfaceWidth) * pictureHeight / pictureWidth);
    }
    box.x = (surfaceWidth - box.width) / 2;
    box.y = (surfaceHeight - box.height) / 2;
    return box;
}

void surfaceToPicture(const Letterbox& box, int surfaceX, int surfaceY, int& x, int& y)
{
    x = pictureCoordinate(surfaceX, box.x, box.width, box.pictureWidth);
    y = pictureCoordinate(surfaceY, box.y, box.height, box.pictureHeight);
}

void pictureToSurface(const Letterbox& box, int x, int y, int& surfaceX, int& surfaceY)
{
    surfaceX = surfaceCoordinate(x, box.x, box.width, box.pictureWidth);
    surfaceY = surfaceCoordinate(y, box.y, box.height, box.pictureHeight);
}

}  // namespace platform
