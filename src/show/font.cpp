// Bitmap font and text layout.
//
// Layout rules: the pen advances 0.32 per character and 0.8 per line; a line feed
// returns it by 0.32 for every character that advanced on its line (drawn or not,
// carriage returns included). "$" toggles red and takes no room. Only pen lines in
// (-11, 11] are drawn; the first character on a line at or below -11 ends the text.
#include "show/font.h"

#include "media/texture.h"

namespace {

constexpr float charAdvance = 0.32f;
constexpr float lineAdvance = 0.8f;
constexpr float windowTop = 11.0f;
constexpr float windowBottom = -11.0f;
constexpr float glyphHalfWidth = 0.2f;
constexpr float glyphHalfHeight = 0.5f;
constexpr int gridColumns = 16;

// Every character byte the font pictures hold, with its glyph number.
struct MappedRange {
    unsigned char first;
    unsigned char last;
    std::int32_t glyph;
};

constexpr MappedRange mappedRanges[] = {
    {'a', 'z', 0},  {'.', '.', 30},   {',', ',', 31}, {';', ';', 32},   {':', ':', 33}, {'+', '+', 34},
    {'-', '-', 35}, {'_', '_', 36},   {'#', '#', 37}, {'*', '*', 38},   {'~', '~', 39}, {'!', '!', 40},
    {'"', '"', 41}, {0xA7, 0xA7, 42}, {'%', '%', 44}, {'&', '&', 45},   {'/', '/', 46}, {'(', '(', 47},
    {')', ')', 48}, {'=', '=', 49},   {'?', '?', 50}, {'\\', '\\', 51}, {'{', '{', 52}, {'}', '}', 53},
    {'[', '[', 54}, {']', ']', 55},   {'^', '^', 57}, {'`', '`', 60},   {'@', '@', 61}, {'0', '9', 64},
};

}  // namespace

void fillGlyphMap(std::int32_t (&map)[256])
{
    for (std::int32_t& entry : map) entry = noGlyph;
    for (const MappedRange& range : mappedRanges)
        for (int c = range.first; c <= range.last; ++c) map[c] = range.glyph + (c - range.first);
}

Font::Font(const char* colourFile, const char* maskFile)
{
    const std::uint32_t firstId = textureState.nextTextureId;
    loadTexture(colourTexture, colourFile);
    loadTexture(maskTexture, maskFile);
    fillGlyphMap(glyphMap);
    const bool bothLoaded = textureState.nextTextureId == firstId + 2;
    maskInAlpha = bothLoaded && putFileMaskIntoAlpha(colourTexture, colourFile, maskFile);
}

Font::Font(const std::uint8_t* colourRgb, const std::uint8_t* maskRgb, int width, int height)
    : colourTexture(uploadTexture(colourRgb, width, height)),
      maskTexture(uploadTexture(maskRgb, width, height))
{
    fillGlyphMap(glyphMap);
    maskInAlpha = putMaskIntoAlpha(colourTexture, colourRgb, maskRgb, width, height);
}

Font::Font(GLuint colour, GLuint mask) : colourTexture(colour), maskTexture(mask) { fillGlyphMap(glyphMap); }

void layoutText(const std::int32_t (&glyphMap)[256], const char* text, float x, float y, GlyphSink sink,
                void* user)
{
    float penY = y;
    int column = 0;  // characters advanced on this line
    bool red = false;
    for (const char* p = text; *p != '\0'; ++p) {
        if (penY <= windowBottom) return;
        const unsigned char c = static_cast<unsigned char>(*p);
        const std::int32_t glyph = glyphMap[c];
        if (c == '$') red = !red;
        if (glyph != noGlyph && penY <= windowTop)
            sink(PlacedGlyph{glyph, x + charAdvance * column, penY, red}, user);
        if (c == '\n') {
            penY -= lineAdvance;
            column = 0;
        } else if (c != '$') {
            ++column;
        }
    }
}

void glyphCorners(const Font& font, const PlacedGlyph& g)
{
    const int column = g.glyph % gridColumns;
    const int row = g.glyph / gridColumns;
    const float s0 = column * font.cellWidth;
    const float s1 = (column + 1) * font.cellWidth;
    const float tTop = 1.0f - row * font.cellHeight;
    const float tBottom = 1.0f - (row + 1) * font.cellHeight;
    glTexCoord2f(s0, tTop);
    glVertex3f(g.x - glyphHalfWidth, g.y + glyphHalfHeight, 0.0f);
    glTexCoord2f(s1, tTop);
    glVertex3f(g.x + glyphHalfWidth, g.y + glyphHalfHeight, 0.0f);
    glTexCoord2f(s1, tBottom);
    glVertex3f(g.x + glyphHalfWidth, g.y - glyphHalfHeight, 0.0f);
    glTexCoord2f(s0, tBottom);
    glVertex3f(g.x - glyphHalfWidth, g.y - glyphHalfHeight, 0.0f);
}
