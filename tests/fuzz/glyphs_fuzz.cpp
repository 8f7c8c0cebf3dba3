// The font tool's glyph source on any text: it is read whole or refused with a reason.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "glyph_source.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(bytes), size);
    std::vector<PixelGlyph> glyphs;
    const std::string error = parseGlyphText(text, "fuzz.txt", glyphs);
    if (error.empty())
        for (const PixelGlyph& g : glyphs) FUZZ_CHECK(g.number >= 0 && g.number < glyphCount);
    return 0;
}
