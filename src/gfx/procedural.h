// The three textures painted at start-up: the haze glow, the sun disc and its mask.
#pragma once

#include <GL/gl.h>

struct ProceduralTextures {
    GLuint hazeTexture = 0;
    GLuint sunTexture = 0;
    GLuint sunMaskTexture = 0;
};

extern ProceduralTextures procedural;

// Paints and uploads the three, in the order haze, sun, sun mask (consecutive ids).
void createProceduralTextures();
