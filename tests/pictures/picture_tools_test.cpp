// The picture tools on tiny hand-made inputs: the sprite split, the bitmap writer
// and reader, the size rule, the PNG reader's errors and the glyph source parser.
#include "bmp_io.h"
#include "glyph_raster.h"
#include "glyph_source.h"
#include "png_io.h"
#include "sprite.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

namespace {

std::string tempPath(const std::string& name) { return ::testing::TempDir() + "zw_pictures_" + name; }

std::vector<std::uint8_t> fileBytes(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

TEST(SpriteSplit, PremultipliesColourAndInvertsAlphaIntoTheMask)
{
    RgbaPicture in{4,
                   1,
                   {255, 0, 0, 255,     // opaque red
                    0, 0, 255, 0,       // invisible blue leaves no trace
                    200, 100, 50, 128,  // half covered
                    255, 255, 255, 64}};
    SpritePair out = splitSprite(in);
    const std::vector<std::uint8_t> colour = {255, 0, 0, 0, 0, 0, 100, 50, 25, 64, 64, 64};
    const std::vector<std::uint8_t> mask = {0, 0, 0, 255, 255, 255, 127, 127, 127, 191, 191, 191};
    EXPECT_EQ(out.colour.pixels, colour);
    EXPECT_EQ(out.mask.pixels, mask);
}

TEST(SpriteSplit, ComposesToTheOverBlendWithinRounding)
{
    // frame x mask + colour must equal frame x (1 - a) + c x a for every a and c.
    for (int a = 0; a < 256; a += 5)
        for (int c = 0; c < 256; c += 17) {
            RgbaPicture in{1, 1, {std::uint8_t(c), 0, 0, std::uint8_t(a)}};
            SpritePair out = splitSprite(in);
            double frame = 90;
            double got = frame * out.mask.pixels[0] / 255.0 + out.colour.pixels[0];
            double want = frame * (1 - a / 255.0) + c * a / 255.0;
            EXPECT_NEAR(got, want, 1.0) << "alpha " << a << " colour " << c;
        }
}

TEST(SpriteSize, AcceptsOnlyPowerOfTwoSidesAtLeastFourWide)
{
    EXPECT_EQ(checkSpriteSize(4, 4), "");
    EXPECT_EQ(checkSpriteSize(512, 1), "");
    EXPECT_NE(checkSpriteSize(2, 4).find("narrower than 4"), std::string::npos);
    EXPECT_NE(checkSpriteSize(6, 8).find("not a power of two"), std::string::npos);
    EXPECT_NE(checkSpriteSize(8, 12).find("not a power of two"), std::string::npos);
    EXPECT_NE(checkSpriteSize(0, 4).find("not a power of two"), std::string::npos);
}

// Red on blue, 5 wide (rows padded from 15 to 16 bytes), with one green marker in
// the top left corner so flips and channel swaps show.
RgbPicture markerPicture()
{
    RgbPicture p(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            std::uint8_t* px = p.at(x, y);
            px[0] = x < 3 ? 255 : 0;
            px[2] = x < 3 ? 0 : 255;
        }
    p.at(0, 0)[0] = 0;
    p.at(0, 0)[1] = 255;
    return p;
}

TEST(Bitmap, WritesBottomUpPaddedBgrRowsWithAnInfoHeader)
{
    std::string path = tempPath("marker.bmp");
    ASSERT_EQ(writeBmp24(path, markerPicture()), "");
    std::vector<std::uint8_t> b = fileBytes(path);
    ASSERT_EQ(b.size(), 54u + 16 * 3);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(b[10], 54);
    EXPECT_EQ(b[14], 40);
    EXPECT_EQ(b[28], 24);
    // The first stored row is the bottom one: red (stored blue, green, red).
    EXPECT_EQ(b[54], 0);
    EXPECT_EQ(b[56], 255);
    // The last stored row is the top one, starting with the green marker.
    std::size_t top = 54 + 16 * 2;
    EXPECT_EQ(b[top], 0);
    EXPECT_EQ(b[top + 1], 255);
    EXPECT_EQ(b[top + 2], 0);
}

TEST(Bitmap, ReadsBackWhatItWrites)
{
    std::string path = tempPath("roundtrip.bmp");
    RgbPicture in = markerPicture();
    ASSERT_EQ(writeBmp24(path, in), "");
    RgbPicture out;
    ASSERT_EQ(readBmp24(path, out), "");
    EXPECT_EQ(out.width, 5);
    EXPECT_EQ(out.height, 3);
    EXPECT_EQ(out.pixels, in.pixels);
}

TEST(Bitmap, RefusesDamagedFilesWithTheReason)
{
    std::string path = tempPath("good.bmp");
    ASSERT_EQ(writeBmp24(path, markerPicture()), "");
    const std::vector<std::uint8_t> good = fileBytes(path);
    struct Case {
        const char* what;
        std::size_t at;  // byte to change, or the new length when shortening
        int value;       // -1: cut the file at `at`
        const char* reason;
    } cases[] = {
        {"no magic", 0, 'X', "no \"BM\" header"},
        {"core header", 14, 12, "40-byte info header"},
        {"8 bits", 28, 8, "uncompressed 24-bit"},
        {"compressed", 30, 1, "uncompressed 24-bit"},
        {"short rows", 60, -1, "shorter than its pixel rows"},
        {"header only", 20, -1, "no \"BM\" header"},
        {"zero width", 18, 0, "unsupported size"},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes = good;
        if (c.value < 0)
            bytes.resize(c.at);
        else
            bytes[c.at] = std::uint8_t(c.value);
        RgbPicture out;
        PictureError e = decodeBmp24(bytes, "x.bmp", out);
        EXPECT_NE(e.find("x.bmp: "), std::string::npos) << c.what;
        EXPECT_NE(e.find(c.reason), std::string::npos) << c.what << ": " << e;
    }
    RgbPicture out;
    EXPECT_NE(readBmp24(tempPath("missing.bmp"), out).find("cannot open"), std::string::npos);
}

TEST(Png, ReportsFilesThatAreNotPngWithTheirName)
{
    std::string path = tempPath("garbage.png");
    std::ofstream(path) << "this is no picture";
    RgbaPicture out;
    PictureError e = readPngRgba(path, out);
    EXPECT_NE(e.find(path), std::string::npos);
    EXPECT_NE(e.find("not a readable PNG"), std::string::npos);
    EXPECT_NE(readPngRgba(tempPath("missing.png"), out), "");
}

TEST(Png, ReadsBackStraightRgba)
{
    std::string path = tempPath("rgba.png");
    RgbaPicture in{4, 1, {255, 0, 0, 255, 0, 255, 0, 0, 10, 20, 30, 128, 1, 2, 3, 4}};
    ASSERT_EQ(writePngRgba(path, in), "");
    RgbaPicture out;
    ASSERT_EQ(readPngRgba(path, out), "");
    EXPECT_EQ(out.width, 4);
    EXPECT_EQ(out.height, 1);
    // Fully transparent pixels may lose their colour; the rest survives exactly.
    EXPECT_EQ(std::vector<std::uint8_t>(out.pixels.begin(), out.pixels.begin() + 4),
              std::vector<std::uint8_t>({255, 0, 0, 255}));
    EXPECT_EQ(out.pixels[7], 0);
    EXPECT_EQ(std::vector<std::uint8_t>(out.pixels.begin() + 8, out.pixels.end()),
              std::vector<std::uint8_t>(in.pixels.begin() + 8, in.pixels.end()));
}

const char* const glyphA = "glyph 0 a\n.....\n.....\n.###.\n....#\n.####\n#...#\n.####\n.....\n.....\n";

TEST(GlyphSource, ParsesGlyphsWithCommentsAndBlankLines)
{
    std::string text = std::string("# the font\n\n") + glyphA + "\r\n" +
                       "glyph 64 0\n.###.\n#...#\n#..##\n#.#.#\n##..#\n#...#\n.###.\n.....\n.....\n";
    std::vector<PixelGlyph> glyphs;
    ASSERT_EQ(parseGlyphText(text, "g.txt", glyphs), "");
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_EQ(glyphs[0].number, 0);
    EXPECT_EQ(glyphs[1].number, 64);
    EXPECT_TRUE(glyphs[0].lit(1, 2));
    EXPECT_FALSE(glyphs[0].lit(0, 2));
    EXPECT_FALSE(glyphs[0].lit(-1, 2));
    EXPECT_FALSE(glyphs[0].lit(0, 9));
}

TEST(GlyphSource, RefusesBrokenSourcesNamingTheLine)
{
    struct Case {
        std::string text;
        const char* reason;
    } cases[] = {
        {"", "no glyphs"},
        {"letter a\n", "g.txt:1: expected \"glyph NUMBER LABEL\""},
        {"glyph x a\n", "expected \"glyph NUMBER LABEL\""},
        {"glyph 128 a\n", "outside the grid"},
        {"glyph -1 a\n", "outside the grid"},
        {"glyph 0 a\n.....\n.....\n", "ends before its 9 rows"},
        {"glyph 0 a\n....\n", "g.txt:2: a glyph row must be 5"},
        {"glyph 0 a\n..o..\n", "a glyph row must be 5"},
        {std::string(glyphA) + glyphA, "g.txt:11: glyph 0 is defined twice"},
    };
    for (const Case& c : cases) {
        std::vector<PixelGlyph> glyphs;
        std::string e = parseGlyphText(c.text, "g.txt", glyphs);
        EXPECT_NE(e.find(c.reason), std::string::npos) << "got: " << e;
    }
    std::vector<PixelGlyph> glyphs;
    EXPECT_NE(readGlyphFile(tempPath("missing.txt"), glyphs).find("cannot open"), std::string::npos);
}

TEST(GlyphRaster, JoinsNeighboursButNotAcrossSquareCorners)
{
    PixelGlyph g;
    g.rows = {"##...", "#....", ".....", "...#.", "....#", ".....", ".....", ".....", "....."};
    // An L of three pixels: two straight strokes, no diagonal; a diagonal pair: one
    // stroke; plus a dot per lit pixel.
    std::vector<Stroke> strokes = glyphStrokes(g);
    EXPECT_EQ(strokes.size(), 5u + 2 + 1);
    // The empty corner of the L stays dark; the diagonal's midpoint is on a stroke.
    EXPECT_GT(strokeDistance(strokes, -0.05, 0.222), 0.04);
    EXPECT_LT(strokeDistance(strokes, 0.075, 0.037), 1e-9);
}

}  // namespace
