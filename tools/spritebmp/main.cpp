// spritebmp: turns a sprite drawn with transparency (an RGBA PNG) into the show's
// colour picture and mask, both 24-bit bitmaps.
//
//   spritebmp SPRITE.png COLOUR.bmp MASK.bmp
#include "bmp_io.h"
#include "png_io.h"
#include "sprite.h"

#include <cstdio>

namespace {

int fail(const std::string& message)
{
    std::fprintf(stderr, "spritebmp: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) return fail("usage: spritebmp SPRITE.png COLOUR.bmp MASK.bmp");
    RgbaPicture sprite;
    if (PictureError e = readPngRgba(argv[1], sprite); !e.empty()) return fail(e);
    if (std::string e = checkSpriteSize(sprite.width, sprite.height); !e.empty())
        return fail(std::string(argv[1]) + ": " + e);
    SpritePair pair = splitSprite(sprite);
    if (PictureError e = writeBmp24(argv[2], pair.colour); !e.empty()) return fail(e);
    if (PictureError e = writeBmp24(argv[3], pair.mask); !e.empty()) return fail(e);
    return 0;
}
