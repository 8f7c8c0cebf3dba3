// The pointer between window coordinates and the program's picture pixels.
#pragma once

namespace platform::sdl {

void windowToPicture(int windowX, int windowY, int& x, int& y);
void pictureToWindow(int x, int y, int& windowX, int& windowY);

}  // namespace platform::sdl
