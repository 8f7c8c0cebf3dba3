// Text drawing: the glyphs the layout places, drawn by the sprite rule with two
// blend changes per pass instead of two per glyph (a blend change is what costs
// most on the software renderer).
//
// Drawing order. Glyph by glyph, mask then colour, every pixel sees the glyphs
// that cover it in text order, and the passes keep exactly that: a glyph goes one
// pass after every earlier glyph whose quad meets its own (its left neighbour,
// 0.08 overlap, and its neighbours on the line above, 0.2 overlap), so within a
// pass no two quads meet and every pixel still sees mask, colour, mask, colour in
// text order. (All masks first, then all colours, would lighten the pixels where
// two glyphs' rims meet.)
//
// Each glyph stays its own draw: the software renderer rasterises a lone quad as a
// rectangle, a batch of quads as triangles, and the two differ by one step of
// colour at glyph edges.
#include <algorithm>
#include <cmath>
#include <vector>

#include "media/texture.h"
#include "show/font.h"

namespace {

constexpr float textDepth = -25.0f;
constexpr float glyphHalfWidth = 0.2f;
constexpr float glyphHalfHeight = 0.5f;
constexpr int gridColumns = 16;

struct PassGlyph {
    int pass;
    PlacedGlyph glyph;
};

// The text's drawn glyphs in text order, each with its pass.
struct TextBatch {
    std::vector<PassGlyph> glyphs;
    std::size_t lineStart = 0;   // first glyph of the current line
    std::size_t nextAbove = 0;   // first glyph of the line above that may meet the next one
};

bool overlaps(const PlacedGlyph& a, const PlacedGlyph& b)
{
    return std::abs(a.x - b.x) < 2.0f * glyphHalfWidth && std::abs(a.y - b.y) < 2.0f * glyphHalfHeight;
}

void startLineIfNew(TextBatch& batch, const PlacedGlyph& g)
{
    const std::vector<PassGlyph>& glyphs = batch.glyphs;
    if (batch.lineStart == glyphs.size() || glyphs[batch.lineStart].glyph.y == g.y)
        return;
    batch.nextAbove = batch.lineStart;
    batch.lineStart = glyphs.size();
}

// A glyph goes one pass after every earlier glyph its quad meets: its left
// neighbour and those of the line above it (both lines run left to right).
void collectGlyph(const PlacedGlyph& g, void* user)
{
    TextBatch& batch = *static_cast<TextBatch*>(user);
    startLineIfNew(batch, g);
    const std::vector<PassGlyph>& glyphs = batch.glyphs;
    int pass = 0;
    if (batch.lineStart < glyphs.size() && overlaps(glyphs.back().glyph, g))
        pass = glyphs.back().pass + 1;
    const float reach = 2.0f * glyphHalfWidth;
    while (batch.nextAbove < batch.lineStart && glyphs[batch.nextAbove].glyph.x <= g.x - reach)
        ++batch.nextAbove;
    for (std::size_t i = batch.nextAbove; i < batch.lineStart && glyphs[i].glyph.x < g.x + reach; ++i)
        if (overlaps(glyphs[i].glyph, g))
            pass = std::max(pass, glyphs[i].pass + 1);
    batch.glyphs.push_back(PassGlyph{pass, g});
}

struct GlyphCell {
    float s0, s1, tTop, tBottom;
};

GlyphCell cellOf(const Font& font, std::int32_t glyph)
{
    const int column = glyph % gridColumns;
    const int row = glyph / gridColumns;
    return GlyphCell{column * font.cellWidth, (column + 1) * font.cellWidth,
                     1.0f - row * font.cellHeight, 1.0f - (row + 1) * font.cellHeight};
}

// One glyph's quad, inside glBegin(GL_QUADS); every vertex has its texture
// coordinate.
void glyphQuad(const Font& font, const PlacedGlyph& g)
{
    const GlyphCell cell = cellOf(font, g.glyph);
    glTexCoord2f(cell.s0, cell.tTop);
    glVertex3f(g.x - glyphHalfWidth, g.y + glyphHalfHeight, 0.0f);
    glTexCoord2f(cell.s1, cell.tTop);
    glVertex3f(g.x + glyphHalfWidth, g.y + glyphHalfHeight, 0.0f);
    glTexCoord2f(cell.s1, cell.tBottom);
    glVertex3f(g.x + glyphHalfWidth, g.y - glyphHalfHeight, 0.0f);
    glTexCoord2f(cell.s0, cell.tBottom);
    glVertex3f(g.x - glyphHalfWidth, g.y - glyphHalfHeight, 0.0f);
}

// The glyphs of one pass, all of them (red or not) or those of one colour.
enum class Which { All, White, Red };

void drawQuads(const Font& font, const PassGlyph* first, const PassGlyph* last, Which which)
{
    for (const PassGlyph* p = first; p != last; ++p) {
        if (which != Which::All && p->glyph.red != (which == Which::Red))
            continue;
        // Consecutive quads with no state change between them would be joined into
        // one draw; touching the matrix (by nothing) keeps each glyph its own.
        glTranslatef(0.0f, 0.0f, 0.0f);
        glBegin(GL_QUADS);
        glyphQuad(font, p->glyph);
        glEnd();
    }
}

void drawPass(const Font& font, const PassGlyph* first, const PassGlyph* last)
{
    glBlendFunc(GL_DST_COLOR, GL_ZERO);
    glEnable(GL_TEXTURE_2D);
    bindTexture(font.maskTexture);
    glColor3f(1.0f, 1.0f, 1.0f);
    drawQuads(font, first, last, Which::All);
    glBlendFunc(GL_ONE, GL_ONE);
    bindTexture(font.colourTexture);
    const bool anyWhite = std::any_of(first, last, [](const PassGlyph& p) { return !p.glyph.red; });
    const bool anyRed = std::any_of(first, last, [](const PassGlyph& p) { return p.glyph.red; });
    if (anyWhite)
        drawQuads(font, first, last, Which::White);
    if (anyRed) {
        glColor3f(1.0f, 0.0f, 0.0f);
        drawQuads(font, first, last, Which::Red);
    }
}

// The current colour and texture coordinate as glyph-by-glyph drawing left them:
// the last glyph's colour pass.
void leaveLastGlyphState(const Font& font, const PlacedGlyph& last)
{
    if (last.red)
        glColor3f(1.0f, 0.0f, 0.0f);
    else
        glColor3f(1.0f, 1.0f, 1.0f);
    const GlyphCell cell = cellOf(font, last.glyph);
    glTexCoord2f(cell.s0, cell.tBottom);
}

void drawBatch(const Font& font, TextBatch& batch)
{
    std::vector<PassGlyph>& glyphs = batch.glyphs;
    if (glyphs.empty())
        return;
    const PlacedGlyph last = glyphs.back().glyph;
    std::stable_sort(glyphs.begin(), glyphs.end(),
                     [](const PassGlyph& a, const PassGlyph& b) { return a.pass < b.pass; });
    const PassGlyph* begin = glyphs.data();
    const PassGlyph* end = begin + glyphs.size();
    for (const PassGlyph* first = begin; first != end;) {
        const PassGlyph* next = first;
        while (next != end && next->pass == first->pass)
            ++next;
        drawPass(font, first, next);
        first = next;
    }
    leaveLastGlyphState(font, last);
}

}  // namespace

void drawText(const Font& font, const char* text, float x, float y)
{
    glPushMatrix();
    glEnable(GL_BLEND);
    glTranslatef(0.0f, 0.0f, textDepth);
    TextBatch batch;
    layoutText(font.glyphMap, text, x, y, collectGlyph, &batch);
    drawBatch(font, batch);
    glPopMatrix();
}
