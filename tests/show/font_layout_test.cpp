// Where drawText puts its glyphs: recorded through the layout's glyph sink.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "show/font.h"

namespace {

struct Layout {
    std::int32_t map[256];
    std::vector<PlacedGlyph> glyphs;

    Layout() { fillGlyphMap(map); }

    const std::vector<PlacedGlyph>& run(const std::string& text, float x, float y)
    {
        glyphs.clear();
        layoutText(
            map, text.c_str(), x, y,
            [](const PlacedGlyph& g, void* user) {
                static_cast<std::vector<PlacedGlyph>*>(user)->push_back(g);
            },
            &glyphs);
        return glyphs;
    }
};

constexpr float advance = 0.32f;
constexpr float line = 0.8f;

TEST(GlyphMap, MapsTheFontsCharactersAndNothingElse)
{
    std::int32_t map[256];
    fillGlyphMap(map);
    struct Case {
        unsigned char c;
        std::int32_t glyph;
    };
    const Case cases[] = {
        {'a', 0},    {'m', 12},   {'z', 25},  {'.', 30},   {',', 31},   {';', 32},   {':', 33},
        {'+', 34},   {'-', 35},   {'_', 36},  {'#', 37},   {'*', 38},   {'~', 39},   {'!', 40},
        {'"', 41},   {0xA7, 42},  {'%', 44},  {'&', 45},   {'/', 46},   {'(', 47},   {')', 48},
        {'=', 49},   {'?', 50},   {'\\', 51}, {'{', 52},   {'}', 53},   {'[', 54},   {']', 55},
        {'^', 57},   {'`', 60},   {'@', 61},  {'0', 64},   {'5', 69},   {'9', 73},   {' ', 124},
        {'A', 124},  {'Z', 124},  {'$', 124}, {'\'', 124}, {'<', 124},  {'>', 124},  {'|', 124},
        {'\n', 124}, {'\r', 124}, {0, 124},   {0x80, 124}, {0xA6, 124}, {0xA8, 124}, {0xFF, 124},
    };
    for (const Case& c : cases) EXPECT_EQ(map[c.c], c.glyph) << "byte " << int(c.c);
    int mapped = 0;
    for (std::int32_t g : map) mapped += g != noGlyph;
    EXPECT_EQ(mapped, 26 + 28 + 10);
}

TEST(TextLayout, DollarSignsHighlightWithoutTakingRoom)
{
    Layout layout;
    const auto& g = layout.run("ab$cd$e", 1.0f, 2.0f);
    ASSERT_EQ(g.size(), 5u);
    const std::int32_t glyphs[5] = {0, 1, 2, 3, 4};
    const bool red[5] = {false, false, true, true, false};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(g[i].glyph, glyphs[i]);
        EXPECT_EQ(g[i].red, red[i]) << "glyph " << i;
        EXPECT_FLOAT_EQ(g[i].x, 1.0f + advance * i);
        EXPECT_FLOAT_EQ(g[i].y, 2.0f);
    }
}

TEST(TextLayout, HighlightStartsAfreshWithEveryText)
{
    Layout layout;
    layout.run("$a", 0.0f, 0.0f);
    const auto& g = layout.run("a", 0.0f, 0.0f);
    ASSERT_EQ(g.size(), 1u);
    EXPECT_FALSE(g[0].red);
}

TEST(TextLayout, UndrawnCharactersStillAdvance)
{
    Layout layout;
    const auto& g = layout.run(" A\xff|b\xa7", 0.0f, 0.0f);
    ASSERT_EQ(g.size(), 2u);
    EXPECT_EQ(g[0].glyph, 1);
    EXPECT_FLOAT_EQ(g[0].x, 4 * advance);
    EXPECT_EQ(g[1].glyph, 42);
    EXPECT_FLOAT_EQ(g[1].x, 5 * advance);
}

TEST(TextLayout, LineFeedReturnsByTheAdvancedCharacters)
{
    Layout layout;
    // The carriage return advances undrawn; the line feed takes it back too.
    const auto& g = layout.run("x$y$ z\r\nab\n\nc", -3.0f, 1.0f);
    ASSERT_EQ(g.size(), 6u);
    EXPECT_FLOAT_EQ(g[2].x, -3.0f + 3 * advance);  // z after x, y and the space
    EXPECT_FLOAT_EQ(g[3].x, -3.0f);                // a: back to the line start
    EXPECT_FLOAT_EQ(g[3].y, 1.0f - line);
    EXPECT_FLOAT_EQ(g[4].x, -3.0f + advance);
    EXPECT_FLOAT_EQ(g[5].x, -3.0f);  // c, two lines further down
    EXPECT_NEAR(g[5].y, 1.0f - 3 * line, 1e-5f);
}

std::string lines(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i) text += "a\n";
    return text;
}

TEST(TextLayout, TwentyFourLinesFitBelowEight)
{
    Layout layout;
    const auto& g = layout.run(lines(40), 0.0f, 8.0f);
    ASSERT_EQ(g.size(), 24u);
    EXPECT_FLOAT_EQ(g.front().y, 8.0f);
    EXPECT_NEAR(g.back().y, -10.4f, 1e-4f);
}

TEST(TextLayout, LinesAboveTheWindowAreWalkedNotDrawn)
{
    Layout layout;
    const auto& g = layout.run("a\nb\nc\nd", 0.0f, 12.0f);
    ASSERT_EQ(g.size(), 2u);
    EXPECT_EQ(g[0].glyph, 2);  // c, the third line
    EXPECT_NEAR(g[0].y, 10.4f, 1e-5f);
    EXPECT_FLOAT_EQ(g[0].x, 0.0f);
}

TEST(TextLayout, WindowEdgesEleven)
{
    Layout layout;
    EXPECT_EQ(layout.run("a", 0.0f, 11.0f).size(), 1u);
    EXPECT_EQ(layout.run("a", 0.0f, 11.01f).size(), 0u);
    EXPECT_EQ(layout.run("a", 0.0f, -10.99f).size(), 1u);
    EXPECT_EQ(layout.run("a", 0.0f, -11.0f).size(), 0u);
    EXPECT_EQ(layout.run("", 0.0f, 0.0f).size(), 0u);
}

}  // namespace
