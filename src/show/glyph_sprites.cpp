// Text drawn glyph after glyph, each by the sprite rule: the mask multiplied in,
// then the colour added, a blend change and a bind per pass. Fonts without the
// mask in alpha are drawn this way, and it is the order whose pictures the
// batched drawText keeps (tests/show/drawing_order_test.cpp).
#include "media/texture.h"
#include "show/font.h"

namespace {

// Mask pass, then colour pass, per glyph: the two textures alternate, and the
// bind cache keeps each switch to one bind.
void drawGlyphSprite(const PlacedGlyph& g, void* user)
{
    const Font& font = *static_cast<const Font*>(user);
    glBlendFunc(GL_DST_COLOR, GL_ZERO);
    glEnable(GL_TEXTURE_2D);
    bindTexture(font.maskTexture);
    glColor3f(1.0f, 1.0f, 1.0f);
    glBegin(GL_QUADS);
    glyphCorners(font, g);
    glEnd();
    glBlendFunc(GL_ONE, GL_ONE);
    glEnable(GL_TEXTURE_2D);
    bindTexture(font.colourTexture);
    if (g.red)
        glColor3f(1.0f, 0.0f, 0.0f);
    else
        glColor3f(1.0f, 1.0f, 1.0f);
    glBegin(GL_QUADS);
    glyphCorners(font, g);
    glEnd();
}

}  // namespace

void drawTextGlyphByGlyph(const Font& font, const char* text, float x, float y)
{
    glPushMatrix();
    glEnable(GL_BLEND);
    glTranslatef(0.0f, 0.0f, textDepth);
    layoutText(font.glyphMap, text, x, y, drawGlyphSprite, const_cast<Font*>(&font));
    glPopMatrix();
}
