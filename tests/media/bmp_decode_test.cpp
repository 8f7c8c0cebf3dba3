// loadBmp on hand-built files of the kinds ImageMagick does not write (16-bit,
// bit fields, top-down, RLE4, bare bitmaps, wide core headers), and the refusals
// with their kinds.
#include <gtest/gtest.h>

#include <filesystem>

#include "bmp_files.h"
#include "media/bmp.h"

namespace {

Bytes decode(const Bytes& file, int& width, int& height)
{
    RgbImage* image = nullptr;
    EXPECT_EQ(decodeBmp(file.data(), file.size(), image), BmpFailure::none);
    if (!image) return {};
    width = image->width;
    height = image->height;
    Bytes rgb(image->pixels, image->pixels + std::size_t(width) * height * 3);
    freeRgbImage(image);
    return rgb;
}

std::uint32_t rgb555(int r, int g, int b) { return std::uint32_t(r << 10 | g << 5 | b); }
std::uint32_t rgb565(int r, int g, int b) { return std::uint32_t(r << 11 | g << 5 | b); }

// Palette of n info entries (blue, green, red, 0) where index i is (10i, 10i+1, 10i+2).
Bytes rampPalette(int n, int entryBytes = 4)
{
    Bytes table;
    for (int i = 0; i < n; ++i) {
        table.insert(table.end(), {std::uint8_t(10 * i + 2), std::uint8_t(10 * i + 1), std::uint8_t(10 * i)});
        if (entryBytes == 4) table.push_back(0);
    }
    return table;
}

// The RGB of ramp palette indices; -1 is black (skipped or beyond the table).
Bytes ramp(std::initializer_list<int> indices)
{
    Bytes out;
    for (int i : indices) {
        if (i < 0)
            out.insert(out.end(), {0, 0, 0});
        else
            out.insert(out.end(), {std::uint8_t(10 * i), std::uint8_t(10 * i + 1), std::uint8_t(10 * i + 2)});
    }
    return out;
}

struct Case {
    const char* name;
    BmpLayout layout;
    int width;
    int height;
    Bytes expected;  // bottom row first
};

std::vector<Case> cases()
{
    std::vector<Case> c;
    {  // 5-5-5, rows of 6 bytes padded to 8; 5-bit values widened by repeating their top bits
        BmpLayout s{.width = 3, .height = 2, .bitsPerPixel = 16};
        for (auto v : {rgb555(31, 0, 0), rgb555(0, 31, 0), rgb555(0, 0, 31)}) append16(s.pixels, v);
        append16(s.pixels, 0);
        for (auto v : {rgb555(1, 15, 16), rgb555(31, 31, 31), rgb555(0, 0, 0)}) append16(s.pixels, v);
        append16(s.pixels, 0);
        c.push_back(
            {"rgb555", s, 3, 2, {255, 0, 0, 0, 255, 0, 0, 0, 255, 8, 123, 132, 255, 255, 255, 0, 0, 0}});
    }
    {  // 5-6-5 through bit fields
        BmpLayout s{
            .width = 2, .height = 1, .bitsPerPixel = 16, .compression = 3, .masks = {0xF800, 0x07E0, 0x001F}};
        append16(s.pixels, rgb565(31, 63, 0));
        append16(s.pixels, rgb565(16, 32, 1));
        c.push_back({"bitfields565", s, 2, 1, {255, 255, 0, 132, 130, 8}});
    }
    {  // 32-bit bit fields with red in the lowest byte
        BmpLayout s{.width = 1,
                    .height = 1,
                    .bitsPerPixel = 32,
                    .compression = 3,
                    .masks = {0x000000FF, 0x0000FF00, 0x00FF0000}};
        s.pixels = {10, 20, 30, 40};
        c.push_back({"bitfields32", s, 1, 1, {10, 20, 30}});
    }
    {  // top-down rows come out bottom row first with a positive height
        BmpLayout s{.width = 2, .height = -2, .bitsPerPixel = 24};
        s.pixels = {3, 2, 1, 6, 5, 4, 0, 0, 9, 8, 7, 12, 11, 10, 0, 0};
        c.push_back({"topDown", s, 2, 2, {7, 8, 9, 10, 11, 12, 1, 2, 3, 4, 5, 6}});
    }
    {  // RLE4: run, end of line, odd literal with its pad byte, delta, end of bitmap
        BmpLayout s{.width = 6, .height = 3, .bitsPerPixel = 4, .compression = 2, .palette = rampPalette(16)};
        s.pixels = {5, 0x12, 0, 0, 0, 5, 0x34, 0x56, 0x70, 0, 0, 2, 0, 1, 1, 0x90, 0, 1};
        c.push_back({"rle4", s, 6, 3, ramp({1, 2, 1, 2, 1, -1, 3, 4, 5, 6, 7, -1, -1, -1, -1, -1, -1, 9})});
    }
    {  // RLE8: odd literal, an index beyond the 3-colour table, delta past the row end
        BmpLayout s{.width = 4,
                    .height = 2,
                    .bitsPerPixel = 8,
                    .compression = 1,
                    .coloursUsed = 3,
                    .palette = rampPalette(3)};
        s.pixels = {0, 3, 0, 1, 2, 0, 1, 7, 0, 0, 2, 1, 0, 2, 5, 0, 1, 2, 0, 1};
        c.push_back({"rle8", s, 4, 2, ramp({0, 1, 2, -1, 1, 1, -1, -1})});
    }
    {  // bare bitmap: the pixels follow the header and its 2-entry table
        BmpLayout s{.width = 3,
                    .height = 1,
                    .bitsPerPixel = 8,
                    .coloursUsed = 2,
                    .palette = rampPalette(2),
                    .pixels = {1, 0, 1, 0},
                    .bare = true};
        c.push_back({"bareInfo8", s, 3, 1, ramp({1, 0, 1})});
    }
    {  // bare core bitmap: 3-byte entries, 1 bit per pixel across a byte boundary
        BmpLayout s{.headerSize = 12,
                    .width = 9,
                    .height = 1,
                    .bitsPerPixel = 1,
                    .palette = rampPalette(2, 3),
                    .pixels = {0xA5, 0x80, 0, 0},
                    .bare = true};
        c.push_back({"bareCore1", s, 9, 1, ramp({1, 0, 1, 0, 0, 1, 0, 1, 1})});
    }
    {  // core header with a 16-bit width above 255 and a full 256-entry 3-byte table
        BmpLayout s{
            .headerSize = 12, .width = 300, .height = 1, .bitsPerPixel = 8, .palette = rampPalette(256, 3)};
        Bytes expected;
        for (int x = 0; x < 300; ++x) {
            s.pixels.push_back(std::uint8_t(x % 20));
            const Bytes one = ramp({x % 20});
            expected.insert(expected.end(), one.begin(), one.end());
        }
        c.push_back({"wideCore8", s, 300, 1, expected});
    }
    return c;
}

TEST(BmpDecode, HandBuiltKinds)
{
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.name);
        int width = 0, height = 0;
        const Bytes got = decode(buildBmp(c.layout), width, height);
        EXPECT_EQ(width, c.width);
        EXPECT_EQ(height, c.height);
        EXPECT_EQ(got, c.expected);
    }
}

struct Refusal {
    const char* name;
    Bytes file;
    BmpFailure failure;
};

BmpLayout rgb24(int width, int height)
{
    BmpLayout s{.width = width, .height = height, .bitsPerPixel = 24};
    s.pixels.assign(std::size_t((width * 3 + 3) / 4 * 4) * std::size_t(height < 0 ? -height : height), 0x55);
    return s;
}

std::vector<Refusal> refusals()
{
    const BmpFailure conversion = BmpFailure::conversion;
    std::vector<Refusal> r;
    auto layout = [](BmpLayout s, auto change) {
        change(s);
        return buildBmp(s);
    };
    r.push_back({"empty", {}, BmpFailure::unreadable});
    r.push_back({"header56", layout(rgb24(2, 2), [](BmpLayout& s) { s.headerSize = 56; }),
                 BmpFailure::unknownFormat});
    r.push_back({"tooWide",
                 layout(rgb24(1, 1),
                        [](BmpLayout& s) {
                            s.width = 100000;
                            s.height = 100000;
                        }),
                 BmpFailure::outOfMemory});
    r.push_back({"tooTallTopDown",
                 layout(rgb24(1, 1),
                        [](BmpLayout& s) {
                            s.width = 0x7FFFFFFF;
                            s.height = INT32_MIN;
                        }),
                 BmpFailure::outOfMemory});
    r.push_back({"hugeRle",
                 layout(rgb24(1, 1),
                        [](BmpLayout& s) {
                            s.width = 60000;
                            s.height = 60000;
                            s.bitsPerPixel = 8;
                            s.compression = 1;
                            s.palette = rampPalette(256);
                            s.pixels = {0, 1};
                        }),
                 BmpFailure::outOfMemory});
    r.push_back({"shortPixels", layout(rgb24(4, 4), [](BmpLayout& s) { s.pixels.resize(40); }), conversion});
    r.push_back({"twoBits", layout(rgb24(4, 1), [](BmpLayout& s) { s.bitsPerPixel = 2; }), conversion});
    r.push_back({"jpeg", layout(rgb24(4, 1), [](BmpLayout& s) { s.compression = 4; }), conversion});
    r.push_back({"rle8On24", layout(rgb24(4, 1), [](BmpLayout& s) { s.compression = 1; }), conversion});
    r.push_back({"rleTopDown",
                 layout(rgb24(4, 1),
                        [](BmpLayout& s) {
                            s.height = -1;
                            s.bitsPerPixel = 8;
                            s.compression = 1;
                            s.palette = rampPalette(256);
                            s.pixels = {0, 1};
                        }),
                 conversion});
    r.push_back({"zeroWidth", layout(rgb24(4, 1), [](BmpLayout& s) { s.width = 0; }), conversion});
    r.push_back({"zeroHeight", layout(rgb24(4, 1), [](BmpLayout& s) { s.height = 0; }), conversion});
    r.push_back({"negativeWidth", layout(rgb24(4, 1), [](BmpLayout& s) { s.width = -4; }), conversion});
    r.push_back({"rleWithoutEnd",
                 layout(rgb24(4, 1),
                        [](BmpLayout& s) {
                            s.height = 2;
                            s.bitsPerPixel = 8;
                            s.compression = 1;
                            s.palette = rampPalette(256);
                            s.pixels = {4, 1, 0, 0, 2};
                        }),
                 conversion});
    r.push_back({"paletteCut",
                 layout(rgb24(4, 1),
                        [](BmpLayout& s) {
                            s.bitsPerPixel = 8;
                            s.palette = rampPalette(10);
                            s.pixels.clear();
                            s.bare = true;
                        }),
                 conversion});
    Bytes farOffset = buildBmp(rgb24(4, 1));
    farOffset[10] = 0xF0;
    r.push_back({"offsetBeyondEnd", farOffset, conversion});
    return r;
}

TEST(BmpDecode, RefusalsSayWhy)
{
    for (const Refusal& r : refusals()) {
        SCOPED_TRACE(r.name);
        RgbImage* image = nullptr;
        EXPECT_EQ(decodeBmp(r.file.data(), r.file.size(), image), r.failure);
        EXPECT_EQ(image, nullptr);
    }
}

// A caller may ask for less than the output limit (the fuzz harness does), never
// for more.
TEST(BmpDecode, CallersLimitLowersTheOutputLimit)
{
    const Bytes file = buildBmp(rgb24(4, 4));  // 48 bytes of RGB
    RgbImage* image = nullptr;
    EXPECT_EQ(decodeBmp(file.data(), file.size(), image, 48), BmpFailure::none);
    freeRgbImage(image);
    EXPECT_EQ(decodeBmp(file.data(), file.size(), image, 47), BmpFailure::outOfMemory);
    EXPECT_EQ(image, nullptr);

    BmpLayout huge = rgb24(1, 1);  // 16,384 x 16,384 x 3 = 768 MiB from two bytes of RLE
    huge.width = huge.height = 16384;
    huge.bitsPerPixel = 8;
    huge.compression = 1;
    huge.palette = rampPalette(256);
    huge.pixels = {0, 1};
    const Bytes hugeFile = buildBmp(huge);
    EXPECT_EQ(decodeBmp(hugeFile.data(), hugeFile.size(), image, SIZE_MAX), BmpFailure::outOfMemory);
    EXPECT_EQ(image, nullptr);
}

// Files that cannot be read as a whole; a file far larger than any picture is not
// read at all.
TEST(BmpDecode, UnreadableFiles)
{
    const std::string directory = makeTempDirectory();
    ASSERT_FALSE(directory.empty());
    const std::string empty = directory + "/empty.bmp", huge = directory + "/huge.bmp";
    ASSERT_TRUE(writeFile(empty, {}));
    ASSERT_TRUE(writeFile(huge, buildBmp(rgb24(4, 1))));
    std::filesystem::resize_file(huge, 2 * maxBmpOutputBytes + 1);  // sparse: no disk space used
    const std::pair<std::string, BmpFailure> cases[] = {
        {"/nonexistent/feil.bmp", BmpFailure::unreadable},
        {empty, BmpFailure::unreadable},
        {directory, BmpFailure::unreadable},
        {huge, BmpFailure::outOfMemory},
    };
    for (const auto& [path, failure] : cases) {
        RgbImage* image = nullptr;
        EXPECT_EQ(loadBmp(path.c_str(), image), failure) << path;
        EXPECT_EQ(image, nullptr);
    }
    std::filesystem::remove_all(directory);
}

}  // namespace
