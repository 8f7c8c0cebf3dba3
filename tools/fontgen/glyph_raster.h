// Draws pixel glyphs as smooth strokes: every lit pixel is a node, neighbouring
// nodes are joined by round-capped strokes, and each stroke gets a dark outline so
// the light letters read on the orange sky, the blue sky and the blue text panel.
#pragma once

#include "glyph_source.h"
#include "picture.h"

// Where the show samples its glyphs: a 16-column grid of cells of this size, in
// texture coordinates, glyph 0 at the top left. Each cell is drawn on a quad
// 0.4 units wide and 1.0 high, so the glyphs are laid out in those units.
constexpr int fontSide = 256;
constexpr double cellWidth = 0.06140625;
constexpr double cellHeight = 0.111328125;
constexpr double quadWidth = 0.4;
constexpr double quadHeight = 1.0;

struct Stroke {
    double ax, ay, bx, by;  // in quad units, y up, (0, 0) at the cell centre
    double grow = 0;        // extra radius: lone dots are drawn a little fuller
};

// The strokes of one glyph.
std::vector<Stroke> glyphStrokes(const PixelGlyph& glyph);
// Distance from (x, y) to the nearest stroke; a large value when there is none.
double strokeDistance(const std::vector<Stroke>& strokes, double x, double y);

// The whole font picture, straight RGBA, fontSide x fontSide.
RgbaPicture drawFont(const std::vector<PixelGlyph>& glyphs);
