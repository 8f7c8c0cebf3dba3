// loadBmp against an independent decoder: ImageMagick writes bitmap files of every
// kind it can make from one asymmetric picture, decodes them back to PPM, and the
// loader must give the same RGB, bottom row first.
#include <gtest/gtest.h>

#include <filesystem>

#include "bmp_files.h"
#include "media/bmp.h"

namespace {

struct Kind {
    const char* name;
    const char* options;       // ImageMagick output options including the format prefix
    std::uint32_t headerSize;  // what the written file must have, so the kind is real
    int bitsPerPixel;
    std::uint32_t compression;
    bool lossless;  // the source picture comes back unchanged
};

const Kind kinds[] = {
    {"info24", "BMP3:", 40, 24, 0, true},
    {"info32", "-alpha on -define bmp3:alpha=true BMP3:", 40, 32, 0, true},
    {"info8", "-type palette -compress none BMP3:", 40, 8, 0, false},
    {"rle8", "-type palette -compress RLE BMP3:", 40, 8, 1, false},
    {"info4", "-colors 16 -type palette -compress none BMP3:", 40, 4, 0, false},
    {"info1", "-monochrome BMP3:", 40, 1, 0, false},
    {"core24", "BMP2:", 12, 24, 0, true},
    {"core8", "-type palette BMP2:", 12, 8, 0, false},
    {"core4", "-colors 16 -type palette BMP2:", 12, 4, 0, false},
    {"core1", "-monochrome BMP2:", 12, 1, 0, false},
};

std::uint32_t field(const Bytes& file, std::size_t at, int bytes)
{
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= std::uint32_t(file.at(at + i)) << (8 * i);
    return v;
}

class ImageMagickAgrees : public ::testing::TestWithParam<std::tuple<Kind, int>> {
protected:
    static void SetUpTestSuite() { directory = makeTempDirectory(); }
    static void TearDownTestSuite() { std::filesystem::remove_all(directory); }
    static std::string directory;
};
std::string ImageMagickAgrees::directory;

TEST_P(ImageMagickAgrees, SameRgbBottomRowFirst)
{
    if (!imageMagickAvailable()) GTEST_SKIP() << "ImageMagick is not installed";
    const auto& [kind, width] = GetParam();
    const int height = 4;
    const std::string stem = directory + "/" + kind.name + "_" + std::to_string(width);
    const Picture source = testPicture(width, height);
    ASSERT_TRUE(writePpm(stem + ".ppm", source));
    ASSERT_TRUE(imageMagick(stem + ".ppm " + kind.options + stem + ".bmp"));
    Picture expected;
    ASSERT_TRUE(imageMagick(stem + ".bmp -depth 8 ppm:" + stem + ".back.ppm"));
    ASSERT_TRUE(readPpm(stem + ".back.ppm", expected));

    const Bytes file = readFile(stem + ".bmp");
    ASSERT_EQ(field(file, 14, 4), kind.headerSize);
    const bool core = kind.headerSize == 12;
    ASSERT_EQ(field(file, core ? 24 : 28, 2), std::uint32_t(kind.bitsPerPixel));
    if (!core) {
        ASSERT_EQ(field(file, 30, 4), kind.compression);
    }

    RgbImage* image = nullptr;
    ASSERT_EQ(loadBmp((stem + ".bmp").c_str(), image), BmpFailure::none);
    EXPECT_EQ(image->width, width);
    EXPECT_EQ(image->height, height);
    const Bytes got(image->pixels, image->pixels + std::size_t(width) * height * 3);
    EXPECT_EQ(got, bottomUp(expected));
    if (kind.lossless) {
        EXPECT_EQ(got, bottomUp(source));
    }
    freeRgbImage(image);
}

INSTANTIATE_TEST_SUITE_P(EveryKind, ImageMagickAgrees,
                         ::testing::Combine(::testing::ValuesIn(kinds), ::testing::Values(5, 7, 37)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_w" +
                                    std::to_string(std::get<1>(info.param));
                         });

// The versions 4 and 5 headers (108 and 124 bytes) are refused, not misread.
TEST(BmpHeaderSize, LongerHeadersAreUnknownFormats)
{
    if (!imageMagickAvailable()) GTEST_SKIP() << "ImageMagick is not installed";
    const std::string directory = makeTempDirectory();
    const std::string stem = directory + "/v5";
    ASSERT_TRUE(writePpm(stem + ".ppm", testPicture(8, 2)));
    ASSERT_TRUE(imageMagick(stem + ".ppm BMP:" + stem + ".bmp"));
    Bytes file = readFile(stem + ".bmp");
    ASSERT_EQ(field(file, 14, 4), 124u);
    for (std::uint8_t size : {124, 108}) {
        file[14] = size;
        RgbImage* image = nullptr;
        EXPECT_EQ(decodeBmp(file.data(), file.size(), image), BmpFailure::unknownFormat);
    }
    std::filesystem::remove_all(directory);
}

}  // namespace
