// Which sprites go in one pass. A file of its own, so that the whole-show test's
// twin of the capture command can put its own in its place and draw every sprite
// mask pass then colour pass, as the show first drew them.
#include "media/texture.h"

void putSpriteMaskIntoAlpha(TexturePair& pair, const char* colourFile, const char* maskFile)
{
    pair.maskInAlpha = putFileMaskIntoAlpha(pair.colour, colourFile, maskFile);
}
