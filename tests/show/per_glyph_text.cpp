// The text drawn as the show first drew it: glyph after glyph, each by the sprite
// rule, mask then colour, with a blend change and a bind per pass. The whole-show
// test holds the batched drawing against these pictures. Linked ahead of zw_core
// into zwirbelalp-capture-per-glyph, this drawText takes the place of the
// library's (whose file is then never taken from the library).
#include "media/texture.h"
#include "show/font.h"

namespace {

constexpr float textDepth = -25.0f;
constexpr float glyphHalfWidth = 0.2f;
constexpr float glyphHalfHeight = 0.5f;
constexpr int gridColumns = 16;

struct DrawContext {
    const Font* font;
};

void glyphQuad(const Font& font, const PlacedGlyph& g)
{
    const int column = g.glyph % gridColumns;
    const int row = g.glyph / gridColumns;
    const float s0 = column * font.cellWidth;
    const float s1 = (column + 1) * font.cellWidth;
    const float tTop = 1.0f - row * font.cellHeight;
    const float tBottom = 1.0f - (row + 1) * font.cellHeight;
    glBegin(GL_QUADS);
    glTexCoord2f(s0, tTop);
    glVertex3f(g.x - glyphHalfWidth, g.y + glyphHalfHeight, 0.0f);
    glTexCoord2f(s1, tTop);
    glVertex3f(g.x + glyphHalfWidth, g.y + glyphHalfHeight, 0.0f);
    glTexCoord2f(s1, tBottom);
    glVertex3f(g.x + glyphHalfWidth, g.y - glyphHalfHeight, 0.0f);
    glTexCoord2f(s0, tBottom);
    glVertex3f(g.x - glyphHalfWidth, g.y - glyphHalfHeight, 0.0f);
    glEnd();
}

// Mask pass, then colour pass, per glyph: the two textures alternate, and the
// bind cache keeps each switch to one bind.
void drawGlyph(const PlacedGlyph& g, void* user)
{
    const Font& font = *static_cast<DrawContext*>(user)->font;
    glBlendFunc(GL_DST_COLOR, GL_ZERO);
    glEnable(GL_TEXTURE_2D);
    bindTexture(font.maskTexture);
    glColor3f(1.0f, 1.0f, 1.0f);
    glyphQuad(font, g);
    glBlendFunc(GL_ONE, GL_ONE);
    glEnable(GL_TEXTURE_2D);
    bindTexture(font.colourTexture);
    if (g.red)
        glColor3f(1.0f, 0.0f, 0.0f);
    else
        glColor3f(1.0f, 1.0f, 1.0f);
    glyphQuad(font, g);
}

}  // namespace

void drawText(const Font& font, const char* text, float x, float y)
{
    glPushMatrix();
    glEnable(GL_BLEND);
    glTranslatef(0.0f, 0.0f, textDepth);
    DrawContext context{&font};
    layoutText(font.glyphMap, text, x, y, drawGlyph, &context);
    glPopMatrix();
}
