// The text drawn as the show first drew it: glyph after glyph, each by the sprite
// rule, mask then colour. Linked ahead of zw_core into
// zwirbelalp-capture-per-glyph, this drawText takes the place of the library's
// (whose file is then never taken from the library), and the whole-show test holds
// the batched drawing against its pictures.
#include "show/font.h"

void drawText(const Font& font, const char* text, float x, float y)
{
    drawTextGlyphByGlyph(font, text, x, y);
}
