// The bitmap font: a 16-column grid of glyphs in a colour picture and its mask, a
// map from character bytes to glyph numbers, and drawText, which lays a string out
// as textured quads with line feeds, a visible line window and "$" highlighting.
#pragma once

#include <GL/gl.h>

#include <cstdint>

constexpr std::int32_t noGlyph = 124;  // characters that take their place undrawn

struct Font {
    GLuint colourTexture = 0;         // glyph colours, added to the frame
    GLuint maskTexture = 0;           // black glyphs on white, multiplied in
    std::int32_t glyphMap[256] = {};  // glyph number per character byte
    float cellWidth = 0.06140625f;    // one glyph cell, in texture coordinates
    float cellHeight = 0.111328125f;

    // Loads the two pictures (missing files are reported by the texture loader).
    Font(const char* colourFile, const char* maskFile);
    // A font on textures that already exist.
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

// Draws `text` with its first glyph centred at (x, y, -25) of the current matrix.
// Leaves blending on and, when anything was drawn, texturing on.
void drawText(const Font& font, const char* text, float x, float y);
