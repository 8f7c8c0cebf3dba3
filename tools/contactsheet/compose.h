// Draws the show's pictures the way the show does: a textured rectangle sampled
// bilinearly (repeating, like the show's textures), composed by the sprite rule
// frame x mask + colour x tint.
#pragma once

#include "picture.h"

struct SpriteImages {
    RgbPicture colour;
    RgbPicture mask;
};

// A rectangle on the canvas and the texture rectangle stretched over it. s runs
// across, t up (t = 0 is the bottom row), as in the show; (s0, t0) lands on the
// top left corner (x0, y0), (s1, t1) on the bottom right. s0 > s1 mirrors.
struct TexturedRect {
    double x0, y0, x1, y1;
    double s0, t0, s1, t1;
};

struct Tint {
    double r = 1, g = 1, b = 1;
};

// The part of the canvas a drawing may touch (x1, y1 exclusive).
struct Clip {
    int x0 = 0, y0 = 0, x1 = 1 << 30, y1 = 1 << 30;
};

// Texture lookup with GL_LINEAR and GL_REPEAT; writes red, green, blue in 0..255.
void sampleTexture(const RgbPicture& texture, double s, double t, double out[3]);
// Draws with 3 x 3 samples per canvas pixel, so shrunk pictures stay smooth.
void drawSprite(RgbPicture& canvas, const SpriteImages& sprite, const TexturedRect& rect, Tint tint = {},
                Clip clip = {});
void fillRect(RgbPicture& canvas, int x0, int y0, int x1, int y1, const std::uint8_t rgb[3]);

// Text in the show's bitmap font: `unit` canvas pixels per unit of the show's
// text layout (glyph quads 0.4 x 1.0, advance 0.32, line 0.8); (x, y) is the
// centre of the first glyph. Only lower-case letters, digits and the font's
// punctuation are drawn; other characters take their place undrawn.
void drawText(RgbPicture& canvas, const SpriteImages& font, const std::string& text, double x, double y,
              double unit);
