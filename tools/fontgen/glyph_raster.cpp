#include "glyph_raster.h"

#include <algorithm>
#include <cmath>

namespace {

// Glyph geometry in quad units. The pen advances 0.32 per character, so a glyph
// with its outline is at most 0.32 wide and never darkens its neighbour's body.
constexpr double stepX = 0.05;         // between pixel columns
constexpr double stepY = 0.074;        // between pixel rows
constexpr double bodyRadius = 0.03;    // half the width of a light stroke
constexpr double outlineWidth = 0.03;  // dark rim around it
constexpr double dotGrow = 0.014;      // a pixel with no neighbour: full stop, i's dot
constexpr int supersample = 4;         // per texel and axis

// Light glyphs (the red highlight multiplies them, so red stays at full) with a
// faint warm fall from top to bottom; the rim is a deep night blue.
constexpr double bodyTop[3] = {255, 255, 255};
constexpr double bodyBottom[3] = {255, 236, 196};
constexpr double rim[3] = {24, 18, 56};

double nodeX(int column) { return (column - (glyphColumns - 1) / 2.0) * stepX; }
double nodeY(int row) { return ((glyphRows - 1) / 2.0 - row) * stepY; }

void addStroke(std::vector<Stroke>& s, int c0, int r0, int c1, int r1, double grow = 0)
{
    s.push_back({nodeX(c0), nodeY(r0), nodeX(c1), nodeY(r1), grow});
}

bool isLone(const PixelGlyph& g, int c, int r)
{
    for (int dr = -1; dr <= 1; ++dr)
        for (int dc = -1; dc <= 1; ++dc)
            if ((dr || dc) && g.lit(c + dc, r + dr)) return false;
    return true;
}

double segmentDistance(const Stroke& s, double x, double y)
{
    double dx = s.bx - s.ax, dy = s.by - s.ay;
    double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? std::clamp(((x - s.ax) * dx + (y - s.ay) * dy) / len2, 0.0, 1.0) : 0;
    return std::hypot(x - (s.ax + t * dx), y - (s.ay + t * dy));
}

}  // namespace

std::vector<Stroke> glyphStrokes(const PixelGlyph& g)
{
    std::vector<Stroke> strokes;
    for (int r = 0; r < glyphRows; ++r)
        for (int c = 0; c < glyphColumns; ++c) {
            if (!g.lit(c, r)) continue;
            addStroke(strokes, c, r, c, r, isLone(g, c, r) ? dotGrow : 0);  // every pixel is a dot
            if (g.lit(c + 1, r)) addStroke(strokes, c, r, c + 1, r);
            if (g.lit(c, r + 1)) addStroke(strokes, c, r, c, r + 1);
            // Diagonals only where no square corner joins the two pixels already,
            // so corners stay crisp instead of filling in.
            if (g.lit(c + 1, r + 1) && !g.lit(c + 1, r) && !g.lit(c, r + 1))
                addStroke(strokes, c, r, c + 1, r + 1);
            if (g.lit(c - 1, r + 1) && !g.lit(c - 1, r) && !g.lit(c, r + 1))
                addStroke(strokes, c, r, c - 1, r + 1);
        }
    return strokes;
}

double strokeDistance(const std::vector<Stroke>& strokes, double x, double y)
{
    double best = 1e9;
    for (const Stroke& s : strokes) best = std::min(best, segmentDistance(s, x, y) - s.grow);
    return best;
}

namespace {

// Coverage of the body and of body + rim over one texel, by supersampling.
void coverTexel(const std::vector<Stroke>& strokes, double u0, double v0, double du, double dv, double& body,
                double& all)
{
    body = all = 0;
    for (int j = 0; j < supersample; ++j)
        for (int i = 0; i < supersample; ++i) {
            double d =
                strokeDistance(strokes, u0 + (i + 0.5) * du / supersample, v0 - (j + 0.5) * dv / supersample);
            body += d <= bodyRadius;
            all += d <= bodyRadius + outlineWidth;
        }
    body /= supersample * supersample;
    all /= supersample * supersample;
}

void paintTexel(std::uint8_t* out, double body, double all, double v)
{
    double fall = std::clamp(0.5 - v / (glyphRows * stepY), 0.0, 1.0);
    double share = all > 0 ? body / all : 0;
    for (int c = 0; c < 3; ++c) {
        double light = bodyTop[c] + (bodyBottom[c] - bodyTop[c]) * fall;
        out[c] = std::uint8_t(std::lround(rim[c] + (light - rim[c]) * share));
    }
    out[3] = std::uint8_t(std::lround(all * 255));
}

void drawGlyph(RgbaPicture& font, const PixelGlyph& glyph)
{
    std::vector<Stroke> strokes = glyphStrokes(glyph);
    double texelsPerUnitX = cellWidth * fontSide / quadWidth;
    double texelsPerUnitY = cellHeight * fontSide / quadHeight;
    double centreX = (glyph.number % 16 + 0.5) * cellWidth * fontSide;
    double centreY = (glyph.number / 16 + 0.5) * cellHeight * fontSide;
    int x0 = int(centreX - cellWidth * fontSide / 2), x1 = int(centreX + cellWidth * fontSide / 2);
    int y0 = int(centreY - cellHeight * fontSide / 2), y1 = int(centreY + cellHeight * fontSide / 2);
    for (int y = y0; y <= y1 && y < fontSide; ++y)
        for (int x = x0; x <= x1 && x < fontSide; ++x) {
            double u = (x - centreX) / texelsPerUnitX, v = (centreY - y) / texelsPerUnitY;
            double body, all;
            coverTexel(strokes, u, v, 1 / texelsPerUnitX, 1 / texelsPerUnitY, body, all);
            if (all > 0) paintTexel(&font.pixels[(std::size_t(y) * fontSide + x) * 4], body, all, v);
        }
}

}  // namespace

RgbaPicture drawFont(const std::vector<PixelGlyph>& glyphs)
{
    RgbaPicture font;
    font.width = font.height = fontSide;
    font.pixels.assign(std::size_t(fontSide) * fontSide * 4, 0);
    for (const PixelGlyph& glyph : glyphs) drawGlyph(font, glyph);
    return font;
}
