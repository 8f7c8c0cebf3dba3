// contactsheet: one PNG that shows every picture of the media set composed by the
// sprite rule over a mid-grey, the evening sky and the day sky, each labelled in
// the show's own font, followed by mock-ups of the show's main moments.
//
//   contactsheet MEDIA_DIR OUT.png NAME...     (reads NAME.bmp and NAMEm.bmp)
//
// The labels need font.bmp in MEDIA_DIR; the mock-ups are drawn when the names
// include every picture they use.
#include "bmp_io.h"
#include "compose.h"
#include "png_io.h"
#include "scenes.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace {

constexpr int tile = 200;  // box each composed picture is fitted into
constexpr int gap = 12;
constexpr int labelHeight = 30;
constexpr int entriesPerRow = 2;
constexpr int entryWidth = 3 * tile + 2 * gap;
constexpr double labelUnit = 24;  // about the show's own text size
constexpr std::uint8_t sheetBack[3] = {32, 30, 40};
constexpr std::uint8_t grey[3] = {128, 128, 128};

int fail(const std::string& message)
{
    std::fprintf(stderr, "contactsheet: %s\n", message.c_str());
    return 1;
}

PictureError loadPair(const std::string& dir, const std::string& name, SpriteImages& out)
{
    if (PictureError e = readBmp24(dir + "/" + name + ".bmp", out.colour); !e.empty()) return e;
    if (PictureError e = readBmp24(dir + "/" + name + "m.bmp", out.mask); !e.empty()) return e;
    if (out.colour.width != out.mask.width || out.colour.height != out.mask.height)
        return dir + "/" + name + "m.bmp: mask size differs from its colour picture";
    return {};
}

// The picture fitted into one tile box, over one background.
void drawTile(RgbPicture& sheet, const SpriteImages& sprite, int x, int y, const std::uint8_t back[3])
{
    fillRect(sheet, x, y, x + tile, y + tile, back);
    double scale = std::min(double(tile) / sprite.colour.width, double(tile) / sprite.colour.height);
    double w = sprite.colour.width * scale, h = sprite.colour.height * scale;
    double x0 = x + (tile - w) / 2, y0 = y + (tile - h) / 2;
    drawSprite(sheet, sprite, {x0, y0, x0 + w, y0 + h, 0, 1, 1, 0});
}

void drawEntry(RgbPicture& sheet, const SpriteImages& font, const std::string& name,
               const SpriteImages& sprite, int x, int y)
{
    std::string label =
        name + "  " + std::to_string(sprite.colour.width) + "x" + std::to_string(sprite.colour.height);
    drawText(sheet, font, label, x + 0.2 * labelUnit, y + labelHeight / 2.0, labelUnit);
    const std::uint8_t* backs[3] = {grey, eveningSky, daySky};
    for (int k = 0; k < 3; ++k) drawTile(sheet, sprite, x + k * (tile + gap), y + labelHeight, backs[k]);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) return fail("usage: contactsheet MEDIA_DIR OUT.png NAME...");
    std::string dir = argv[1];
    std::map<std::string, SpriteImages> set;
    std::vector<std::string> names(argv + 3, argv + argc);
    for (const std::string& name : names)
        if (PictureError e = loadPair(dir, name, set[name]); !e.empty()) return fail(e);
    if (!set.count("font") && loadPair(dir, "font", set["font"]).size())
        return fail(dir + "/font.bmp is needed for the labels");
    const SpriteImages& font = set["font"];

    int rows = int(names.size() + entriesPerRow - 1) / entriesPerRow;
    int entryHeight = labelHeight + tile + gap;
    int width = entriesPerRow * entryWidth + (entriesPerRow + 1) * gap * 2;
    int picturesHeight = gap + rows * entryHeight;
    bool scenes = canDrawScenes(set);
    RgbPicture sheet(width, picturesHeight + (scenes ? sceneStripHeight(width) : 0));
    fillRect(sheet, 0, 0, sheet.width, sheet.height, sheetBack);
    for (std::size_t i = 0; i < names.size(); ++i)
        drawEntry(sheet, font, names[i], set[names[i]],
                  gap * 2 + int(i % entriesPerRow) * (entryWidth + gap * 2),
                  gap + int(i / entriesPerRow) * entryHeight);
    if (scenes) drawSceneStrip(sheet, set, picturesHeight);
    if (PictureError e = writePngRgb(argv[2], sheet); !e.empty()) return fail(e);
    return 0;
}
