// The colour canvas: the results of its integer primitives that can go wrong.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>

#include "gfx/color_canvas.h"

namespace {

using Position = std::pair<int, int>;
using Positions = std::set<Position>;

const Color white(255, 255, 255);

// Positions that are not black.
Positions written(const ColorCanvas& canvas)
{
    Positions out;
    for (int r = 0; r < canvas.rowCount(); ++r)
        for (int c = 0; c < canvas.columnCount(); ++c) {
            const Color p = canvas.pixel(r, c);
            if (p.red() || p.green() || p.blue()) out.insert({r, c});
        }
    return out;
}

TEST(Canvas, SetPixelOutsideChangesNothing)
{
    ColorCanvas canvas(4, 6);
    for (Position p : {Position{-1, 0}, {0, -1}, {4, 0}, {0, 6}, {INT32_MIN, INT32_MAX}})
        canvas.setPixel(p.first, p.second, white);
    EXPECT_TRUE(written(canvas).empty());
    canvas.setPixel(3, 5, white);
    EXPECT_EQ(written(canvas), (Positions{{3, 5}}));
}

TEST(Canvas, CoincidentEndsWriteOnePixel)
{
    ColorCanvas canvas(8, 8);
    canvas.drawLine(3, 4, 3, 4, white);
    EXPECT_EQ(written(canvas), (Positions{{3, 4}}));
}

TEST(Canvas, OneRowLineEitherDirection)
{
    for (auto [c0, c1] : {std::pair{1, 6}, std::pair{6, 1}}) {
        ColorCanvas canvas(8, 8);
        canvas.drawLine(2, c0, 2, c1, white);
        EXPECT_EQ(written(canvas), (Positions{{2, 1}, {2, 2}, {2, 3}, {2, 4}, {2, 5}, {2, 6}}));
    }
}

// Every row of a line between its ends is reached, and neighbouring rows' runs
// touch, whichever end comes first and whichever way the line leans.
TEST(Canvas, LinesStayConnected)
{
    const int ends[][4] = {{0, 0, 19, 3}, {19, 3, 0, 0}, {0, 15, 19, 2}, {2, 0, 5, 19}, {0, 0, 19, 19}};
    for (const auto& e : ends) {
        SCOPED_TRACE(testing::Message() << e[0] << "," << e[1] << " - " << e[2] << "," << e[3]);
        ColorCanvas canvas(20, 20);
        canvas.drawLine(e[0], e[1], e[2], e[3], white);
        const Positions line = written(canvas);
        EXPECT_TRUE(line.count({e[0], e[1]}));
        EXPECT_TRUE(line.count({e[2], e[3]}));
        int previousLow = -1, previousHigh = -1;
        for (int r = std::min(e[0], e[2]); r <= std::max(e[0], e[2]); ++r) {
            int low = 99, high = -1;
            for (auto [row, c] : line)
                if (row == r) low = std::min(low, c), high = std::max(high, c);
            ASSERT_LE(low, high) << "row " << r << " is empty";
            if (previousHigh >= 0) {
                EXPECT_TRUE(low <= previousHigh + 1 && high >= previousLow - 1) << r;
            }
            previousLow = low;
            previousHigh = high;
        }
    }
}

TEST(Canvas, SmallCircles)
{
    ColorCanvas dot(9, 9);
    dot.drawCircle(4, 4, 0, white, 1, false);
    EXPECT_EQ(written(dot), (Positions{{4, 4}}));

    ColorCanvas plus(9, 9);
    plus.drawCircle(4, 4, 1, white, 1, true);  // outline-only does not matter at width 1
    EXPECT_EQ(written(plus), (Positions{{4, 4}, {3, 4}, {5, 4}, {4, 3}, {4, 5}}));

    ColorCanvas none(9, 9);
    none.drawCircle(4, 4, -1, white, 1, false);
    none.drawCircle(4, 4, 3, white, 0, false);
    none.drawDisc(4, 4, -1, white);
    EXPECT_TRUE(written(none).empty());
}

TEST(Canvas, RingsAndEdges)
{
    // A 3-wide ring around radius 5 is the outlines of radius 4, 5 and 6; with
    // outline-only it is just radii 4 and 6.
    ColorCanvas ring(20, 20), outlines(20, 20), edges(20, 20), expectedEdges(20, 20);
    ring.drawCircle(10, 10, 5, white, 3, false);
    for (int rho : {4, 5, 6}) outlines.drawCircle(10, 10, rho, white, 1, false);
    EXPECT_EQ(written(ring), written(outlines));
    edges.drawCircle(10, 10, 5, white, 3, true);
    for (int rho : {4, 6}) expectedEdges.drawCircle(10, 10, rho, white, 1, false);
    EXPECT_EQ(written(edges), written(expectedEdges));
}

TEST(Canvas, DiscCoversExactlyItsRadius)
{
    ColorCanvas canvas(256, 256);
    canvas.drawDisc(128, 128, 80, white);
    Positions inside;
    for (int r = 0; r < 256; ++r)
        for (int c = 0; c < 256; ++c)
            if ((r - 128) * (r - 128) + (c - 128) * (c - 128) <= 80 * 80) inside.insert({r, c});
    EXPECT_EQ(written(canvas), inside);
    EXPECT_EQ(inside.begin()->first, 48);
    EXPECT_EQ(inside.rbegin()->first, 208);
}

TEST(Canvas, RadialGradient)
{
    ColorCanvas canvas(256, 256);
    const Color marker(1, 2, 3);
    canvas.fill(marker);
    canvas.drawRadialGradient(128, 128, 120, Color(235, 222, 180));
    auto at = [&](int r, int c) {
        const Color p = canvas.pixel(r, c);
        return std::tuple{int(p.red()), int(p.green()), int(p.blue())};
    };
    EXPECT_EQ(at(128, 128), std::tuple(235, 222, 180));
    EXPECT_EQ(at(128 + 85, 128), std::tuple(117, 110, 89));
    EXPECT_EQ(at(128, 128 - 85), std::tuple(117, 110, 89));
    for (int r = 0; r < 256; ++r)
        for (int c = 0; c < 256; ++c)
            if ((r - 128) * (r - 128) + (c - 128) * (c - 128) >= 120 * 120) {
                ASSERT_EQ(at(r, c), std::tuple(1, 2, 3)) << r << "," << c;
            }
}

struct BlendCase {
    const char* name;
    unsigned kind;
    float factor;
    Color target;
    Color source;
    Color expected;
};

TEST(Canvas, BlendKinds)
{
    const BlendCase cases[] = {
        {"add", Add, 0.3f, Color(200, 0, 17), Color(100, 9, 0), Color(255, 9, 17)},
        {"addScaled", AddScaled, 0.5f, Color(200, 10, 0), Color(111, 101, 255), Color(255, 60, 127)},
        {"subtract", SubtractScaled, 1.0f, Color(50, 100, 7), Color(100, 40, 7), Color(0, 60, 0)},
        {"subtractHalf", SubtractScaled, 0.5f, Color(50, 100, 7), Color(101, 40, 7), Color(0, 80, 4)},
        {"mixNone", Mix, 0.0f, Color(12, 34, 56), Color(200, 210, 220), Color(12, 34, 56)},
        {"mixAll", Mix, 1.0f, Color(12, 34, 56), Color(200, 210, 220), Color(200, 210, 220)},
        {"mixQuarter", Mix, 0.25f, Color(100, 0, 255), Color(0, 100, 255), Color(75, 25, 255)},
        {"unknownKind", 4, 1.0f, Color(12, 34, 56), Color(200, 210, 220), Color(12, 34, 56)},
    };
    for (const BlendCase& b : cases) {
        SCOPED_TRACE(b.name);
        ColorCanvas target(2, 3), source(2, 3);
        target.fill(b.target);
        source.fill(b.source);
        target.blend(b.kind, b.factor, source);
        const Color p = target.pixel(1, 2);
        EXPECT_EQ((std::tuple{p.red(), p.green(), p.blue()}),
                  (std::tuple{b.expected.red(), b.expected.green(), b.expected.blue()}));
    }
}

// Shapes far off the canvas, or huge ones, are cut off without walking all of them.
TEST(Canvas, FarOffShapesAreCutOff)
{
    ColorCanvas canvas(8, 8);
    canvas.drawLine(-2000000000, 3, 2000000000, 4, white);
    canvas.drawLine(4, -2000000000, 4, 2000000000, white);
    canvas.drawDisc(4, 4, 100000, Color(1, 1, 1));
    EXPECT_EQ(written(canvas).size(), 64u);
}

}  // namespace
