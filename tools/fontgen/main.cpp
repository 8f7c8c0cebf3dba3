// fontgen: draws the show's bitmap font from its pixel-glyph source into one
// RGBA PNG, which spritebmp then splits into font.bmp and fontm.bmp.
//
//   fontgen GLYPHS.txt FONT.png
#include "glyph_raster.h"
#include "png_io.h"

#include <cstdio>

namespace {

int fail(const std::string& message)
{
    std::fprintf(stderr, "fontgen: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) return fail("usage: fontgen GLYPHS.txt FONT.png");
    std::vector<PixelGlyph> glyphs;
    if (std::string e = readGlyphFile(argv[1], glyphs); !e.empty()) return fail(e);
    RgbaPicture font = drawFont(glyphs);
    if (PictureError e = writePngRgba(argv[2], font); !e.empty()) return fail(e);
    return 0;
}
