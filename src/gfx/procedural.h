// The three textures painted at start-up: the haze glow, the sun disc and its mask.
#pragma once

#include <GL/gl.h>

class ColorCanvas;

struct ProceduralTextures {
    GLuint hazeTexture = 0;     // warm glow, (235, 222, 180) x (1 - d²/120²), black beyond
    GLuint sunTexture = 0;      // white disc of radius 80 on black
    GLuint sunMaskTexture = 0;  // its complement: black disc on white
};

extern ProceduralTextures procedural;

// Paints and uploads the three, in the order haze, sun, sun mask (consecutive ids).
// Needs a current GL context.
void createProceduralTextures();
// Uploads the canvas as an RGB texture under the next id and stores the id in
// `slot`: row 0 first, each row in column order; the rows count as the width.
void uploadCanvas(const ColorCanvas& canvas, GLuint& slot);
