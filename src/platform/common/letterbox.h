// Where the fixed-size picture sits inside a larger or smaller surface: scaled as
// large as it fits with its aspect kept, centred, black bars on the other axis.
// Pure arithmetic, used for the buffer swap (drawable pixels) and for the cursor
// (window coordinates).
#pragma once

namespace platform {

struct Letterbox {
    int x = 0, y = 0;           // top-left corner of the picture on the surface
    int width = 0, height = 0;  // size of the picture on the surface
    int pictureWidth = 0, pictureHeight = 0;
};

// The picture's place on a surface of surfaceWidth x surfaceHeight (top-left origin).
Letterbox fitPicture(int surfaceWidth, int surfaceHeight, int pictureWidth, int pictureHeight);

// A surface position to a picture pixel, clamped to the picture: a pointer on a bar
// is at the picture's nearest edge, as on a screen of the picture's own size.
void surfaceToPicture(const Letterbox& box, int surfaceX, int surfaceY, int& x, int& y);
// A picture pixel to the surface position at its centre. For a picture shown at
// least at its own size, surfaceToPicture gives the same pixel back.
void pictureToSurface(const Letterbox& box, int x, int y, int& surfaceX, int& surfaceY);

}  // namespace platform
