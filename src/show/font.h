// The bitmap font: a 16-column grid of glyphs in a colour picture and its mask, a
// map from character bytes to glyph numbers, and drawText, which lays a string out
// as textured quads with line feeds, a visible line window and "$" highlighting.
//
// Every glyph is a sprite: the frame is multiplied by its mask, then its colour is
// added. Drawn glyph by glyph that costs two blend changes per glyph, which a
// software renderer pays dearly for; so the font also keeps the mask in the colour
// texture's alpha, and drawText draws a whole text in one blend state,
// frame x alpha + colour, with the same pixels (see text_draw.cpp).
#pragma once

#include <GL/gl.h>

#include <cstdint>

constexpr std::int32_t noGlyph = 124;  // characters that take their place undrawn
constexpr float textDepth = -25.0f;    // the plane of the text, before the caller's matrix

struct Font {
    GLuint colourTexture = 0;         // glyph colours, added to the frame
    GLuint maskTexture = 0;           // black glyphs on white, multiplied in
    bool maskInAlpha = false;         // the colour texture is RGBA with the mask's grey as alpha
    std::int32_t glyphMap[256] = {};  // glyph number per character byte
    float cellWidth = 0.06140625f;    // one glyph cell, in texture coordinates
    float cellHeight = 0.111328125f;

    // Loads the two pictures (missing files are reported by the texture loader) and,
    // when both loaded with one size and a grey mask, puts the mask into the colour
    // texture's alpha.
    Font(const char* colourFile, const char* maskFile);
    // A font on pictures in memory (RGB rows, bottom row first), uploaded as the
    // loader would, the mask put into alpha as above.
    Font(const std::uint8_t* colourRgb, const std::uint8_t* maskRgb, int width, int height);
    // A font on textures that already exist; drawn glyph by glyph.
    Font(GLuint colour, GLuint mask);
};

void fillGlyphMap(std::int32_t (&map)[256]);

// One glyph as the layout places it: `x`, `y` is its centre in the caller's frame,
// at the text's depth.
struct PlacedGlyph {
    std::int32_t glyph;
    float x;
    float y;
    bool red;
};

using GlyphSink = void (*)(const PlacedGlyph& glyph, void* user);

// Walks the text as drawText does and hands every glyph that is drawn to `sink`.
void layoutText(const std::int32_t (&glyphMap)[256], const char* text, float x, float y, GlyphSink sink,
                void* user);

// The glyph's four corners with their texture coordinates, for glBegin(GL_QUADS):
// a 0.4 x 1.0 quad around its centre showing its cell of the font pictures.
void glyphCorners(const Font& font, const PlacedGlyph& g);

// Draws `text` with its first glyph centred at (x, y, -25) of the current matrix.
// Leaves blending on and, when anything was drawn, texturing on, the blend
// function at (GL_ONE, GL_ONE), the colour texture bound, and the current colour
// as the last glyph's colour pass left it.
void drawText(const Font& font, const char* text, float x, float y);
// The same, glyph after glyph, mask then colour, two blend changes each: the way
// for fonts without the mask in alpha, and the pictures drawText must match.
void drawTextGlyphByGlyph(const Font& font, const char* text, float x, float y);
