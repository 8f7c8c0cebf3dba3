// The built picture set, checked against what the show does with it: sizes it can
// upload, masks that match their colour pictures, the sprite rule's black
// background, a glyph in every mapped font cell that stays inside its cell, clear
// edges where the show's quads stop, and mountains that tile without a seam.
#include "bmp_io.h"
#include "sprite.h"
#include "assets/media_manifest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

struct Pair {
    RgbPicture colour, mask;
};

Pair load(const std::string& name)
{
    Pair p;
    std::string dir = ZW_MEDIA_DIR;
    PictureError e = readBmp24(dir + "/" + name + ".bmp", p.colour);
    EXPECT_EQ(e, "");
    e = readBmp24(dir + "/" + name + "m.bmp", p.mask);
    EXPECT_EQ(e, "");
    return p;
}

// Coverage 0..1 of a texel: 1 - mask.
double alphaAt(const Pair& p, int x, int y) { return 1 - p.mask.at(x, y)[0] / 255.0; }

TEST(MediaPictures, EveryPairHasUploadableSidesAndMatchingMasks)
{
    for (const char* name : media::pictures) {
        Pair p = load(name);
        EXPECT_EQ(checkSpriteSize(p.colour.width, p.colour.height), "") << name;
        EXPECT_EQ(p.mask.width, p.colour.width) << name;
        EXPECT_EQ(p.mask.height, p.colour.height) << name;
    }
}

TEST(MediaPictures, ColourIsBlackWhereTheBackgroundStays)
{
    for (const char* name : media::pictures) {
        Pair p = load(name);
        int faults = 0, covered = 0;
        for (int y = 0; y < p.mask.height; ++y)
            for (int x = 0; x < p.mask.width; ++x) {
                const std::uint8_t* m = p.mask.at(x, y);
                const std::uint8_t* c = p.colour.at(x, y);
                EXPECT_TRUE(m[0] == m[1] && m[1] == m[2]) << name << " grey mask at " << x << "," << y;
                if (m[0] == 255 && (c[0] | c[1] | c[2])) ++faults;
                // Premultiplied: no channel may exceed the coverage.
                if (std::max({c[0], c[1], c[2]}) > 255 - m[0] + 1) ++faults;
                covered += m[0] < 128;
            }
        EXPECT_EQ(faults, 0) << name;
        EXPECT_GT(covered, 0) << name << " is empty";
    }
}

// The show's glyph map: every glyph number a character can reach.
std::vector<int> mappedGlyphs()
{
    std::vector<int> g;
    for (int i = 0; i <= 25; ++i) g.push_back(i);
    for (int i = 30; i <= 42; ++i) g.push_back(i);
    for (int i = 44; i <= 55; ++i) g.push_back(i);
    for (int i : {57, 60, 61}) g.push_back(i);
    for (int i = 64; i <= 73; ++i) g.push_back(i);
    return g;
}

constexpr double cellWidth = 0.06140625, cellHeight = 0.111328125;

TEST(MediaFont, EveryMappedCharacterHasALightGlyphWithADarkRim)
{
    Pair font = load("font");
    double cw = cellWidth * font.mask.width, ch = cellHeight * font.mask.height;
    for (int g : mappedGlyphs()) {
        int x0 = int(std::ceil(g % 16 * cw)), x1 = int((g % 16 + 1) * cw);
        int y0 = int(std::ceil(g / 16 * ch)), y1 = int((g / 16 + 1) * ch);
        int light = 0, rim = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                double a = alphaAt(font, x, y);
                if (a < 0.5) continue;
                const std::uint8_t* c = font.colour.at(x, y);  // premultiplied
                light += a > 0.9 && c[0] > 220 && c[1] > 200;
                rim += std::max({c[0], c[1], c[2]}) < 100 * a;
            }
        EXPECT_GT(light, 2) << "glyph " << g << " has no light body";
        EXPECT_GT(rim, 2) << "glyph " << g << " has no dark rim";
    }
}

TEST(MediaFont, GlyphsKeepClearOfTheirCellEdges)
{
    // The show filters linearly, so ink within a texel of a cell edge would bleed
    // into the neighbouring glyph.
    Pair font = load("font");
    double cw = cellWidth * font.mask.width, ch = cellHeight * font.mask.height;
    for (int y = 0; y < int(8 * ch); ++y)
        for (int x = 0; x < int(16 * cw); ++x) {
            double cx = x + 0.5, cy = y + 0.5;
            double toColumnEdge = std::abs(cx - std::round(cx / cw) * cw);
            double toRowEdge = std::abs(cy - std::round(cy / ch) * ch);
            if (std::min(toColumnEdge, toRowEdge) < 1.0) {
                EXPECT_EQ(font.mask.at(x, y)[0], 255) << "ink at the cell edge, texel " << x << "," << y;
            }
        }
}

// Rows (from the top, as fractions of the height) or columns that must stay
// clear because a quad's texture coordinates stop there. A cut inside the picture
// is sampled from the two texel rows whose centres lie on either side of it.
void expectClearRow(const Pair& p, const char* name, double fromTop)
{
    double at = fromTop * p.mask.height;
    for (int y : {int(at - 0.5), int(at + 0.5)}) {
        y = std::clamp(y, 0, p.mask.height - 1);
        for (int x = 0; x < p.mask.width; ++x)
            EXPECT_LT(alphaAt(p, x, y), 0.02) << name << " row " << y << " column " << x;
    }
}

void expectClearColumn(const Pair& p, const char* name, int x)
{
    for (int y = 0; y < p.mask.height; ++y)
        EXPECT_LT(alphaAt(p, x, y), 0.02) << name << " column " << x << " row " << y;
}

TEST(MediaPictures, ClearEdgesWhereTheQuadsStop)
{
    // Sprites whose quads use the whole picture: a clear frame all round.
    for (const char* name : {"vogelfl1", "vogelfl2", "vogelfl3", "vogeltot", "cursor", "cross", "feil",
                             "fenno", "qzlogo", "creds"}) {
        Pair p = load(name);
        expectClearRow(p, name, 0);
        expectClearRow(p, name, 1);
        expectClearColumn(p, name, 0);
        expectClearColumn(p, name, p.mask.width - 1);
    }
    // The logo is cut into three bands, the credits into five rows.
    Pair logo = load("qzlogo");
    for (double cut : {0.34, 0.67}) expectClearRow(logo, "qzlogo", cut);
    Pair creds = load("creds");
    for (double cut : {0.15, 0.33, 0.5, 0.7, 0.95}) expectClearRow(creds, "creds", cut);
    // The graphics credit's name is taken from s 0.4 on, beside its label.
    for (int y = int(0.33 * creds.mask.height); y < int(0.5 * creds.mask.height); ++y)
        EXPECT_LT(alphaAt(creds, int(0.4 * creds.mask.width), y), 0.02) << "creds row " << y;
    // Meadows and Marlu start at s = 0.01 and stop below t = 0.99.
    for (const char* name : {"gras", "zweitwiese", "marlu256"}) {
        Pair p = load(name);
        expectClearColumn(p, name, 0);
        expectClearRow(p, name, 0);
    }
}

// The average difference, per channel, of two columns composed over the sky.
double seamDifference(const Pair& a, int xa, const Pair& b, int xb)
{
    const int sky[3] = {47, 106, 195};
    double sum = 0;
    for (int y = 0; y < a.mask.height; ++y)
        for (int c = 0; c < 3; ++c) {
            double va = sky[c] * a.mask.at(xa, y)[c] / 255.0 + a.colour.at(xa, y)[c];
            double vb = sky[c] * b.mask.at(xb, y)[c] / 255.0 + b.colour.at(xb, y)[c];
            sum += std::abs(va - vb);
        }
    return sum / (a.mask.height * 3);
}

TEST(MediaPictures, MountainsTileWithoutASeam)
{
    Pair left = load("berg1"), right = load("berg2");
    ASSERT_EQ(left.mask.height, right.mask.height);
    int lw = left.mask.width, rw = right.mask.width;
    // Each picture repeats across its own quad, and berg1's end meets berg2's start.
    EXPECT_LT(seamDifference(left, lw - 1, left, 0), 6.0);
    EXPECT_LT(seamDifference(right, rw - 1, right, 0), 6.0);
    EXPECT_LT(seamDifference(left, lw - 1, right, 0), 6.0);
    // For scale: columns a tenth of a picture apart do differ.
    EXPECT_GT(seamDifference(left, 0, left, lw / 10), 6.0);
}

}  // namespace
