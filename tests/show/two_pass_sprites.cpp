// Every sprite drawn as the show first drew it: mask pass, then colour pass.
// Linked ahead of zw_core into zwirbelalp-capture-per-glyph, this takes the place
// of the library's putSpriteMaskIntoAlpha, leaves no mask in alpha, and so the
// whole-show test holds the one-pass sprites against the two passes' pictures.
#include "media/texture.h"

void putSpriteMaskIntoAlpha(TexturePair&, const char*, const char*) {}
