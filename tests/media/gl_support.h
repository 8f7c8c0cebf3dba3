// Off-screen GL for the texture tests, on the headless back end.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <string>
#include <vector>

// A fresh headless platform with a 640 x 480 window and a current GL context;
// false when any of it cannot be had.
bool startHeadlessGl();
// Level 0 of texture `id` as tightly packed RGB rows (row t = 0 first).
std::vector<std::uint8_t> readTexture(GLuint id, int& width, int& height);
// A projection in picture pixels: (0, 0) top left, (640, 480) bottom right.
void pixelProjection();
// One textured quad over the picture rectangle [x0, x1) x [y0, y1), texture
// coordinates 0..1 (t = 0 at the bottom edge, as the show draws its pictures).
void texturedQuad(float x0, float y0, float x1, float y1);
// The picture's pixel (x, y), x from the left, y from the top: red, green, blue.
std::vector<int> pixelAt(int x, int y);
// Whether a quit message is waiting (taking every pending message off the queue).
bool quitPosted();
// Changes into a fresh temporary directory and returns its path.
std::string enterTempDirectory();
