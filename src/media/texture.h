// Textures: one naming counter, one parameter set, a bind cache, and the
// colour+mask sprite rule that nearly every picture of the show is drawn by.
#pragma once

#include <GL/gl.h>

#include <cstdint>

struct TextureState {
    std::uint32_t nextTextureId = 0;  // name of the next texture created
    std::int32_t boundTexture = -1;   // what the drawing code last bound
};

extern TextureState textureState;

// One sprite: its colour picture (black outside the sprite) and its mask (white
// where the background stays, black under the sprite).
struct TexturePair {
    GLuint colour = 0;
    GLuint mask = 0;
};

// Sets `destination` to the next id and, when the file is there, uploads it under
// that id. A missing file: message box "Fatal Marlu" and the quit message.
void loadTexture(GLuint& destination, const char* path);
// Uploads width x height RGB bytes (rows bottom-up) under the next id with the
// program's one parameter set, and returns the id.
GLuint uploadTexture(const std::uint8_t* rgb, int width, int height);
// Binds through the cache: no GL call when `id` is bound already.
void bindTexture(GLuint id);

// The sprite rule: `geometry()` issues the same quads twice, first with the mask
// multiplied into the frame (GL_DST_COLOR, GL_ZERO), then with the colour picture
// added (GL_ONE, GL_ONE). Blending must be enabled by the caller; the current
// colour applies to both passes.
template <class Geometry>
void drawSprite(const TexturePair& pair, Geometry geometry)
{
    glBlendFunc(GL_DST_COLOR, GL_ZERO);
    glEnable(GL_TEXTURE_2D);
    bindTexture(pair.mask);
    geometry();
    glBlendFunc(GL_ONE, GL_ONE);
    glEnable(GL_TEXTURE_2D);
    bindTexture(pair.colour);
    geometry();
}
