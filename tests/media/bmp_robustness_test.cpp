// Broken files: every truncation, every single-bit flip of the headers and a
// sample of the data, and lying header fields. The loader must answer each with
// an image or a failure kind, never both, and never read outside the file (the files
// are decoded from blocks of exactly their size, so the sanitizer build sees any
// stray read).
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "bmp_files.h"
#include "media/bmp.h"

namespace {

Bytes ramp(int entries, int entryBytes)
{
    Bytes table;
    for (int i = 0; i < entries; ++i) {
        table.insert(table.end(), {std::uint8_t(i), std::uint8_t(3 * i), std::uint8_t(7 * i)});
        if (entryBytes == 4) table.push_back(0);
    }
    return table;
}

// One valid file of each decoding path.
std::vector<std::pair<const char*, Bytes>> seeds()
{
    std::vector<std::pair<const char*, Bytes>> s;
    BmpLayout rgb{.width = 5, .height = 3, .bitsPerPixel = 24};
    rgb.pixels.assign(48, 0x3C);
    s.push_back({"rgb24", buildBmp(rgb)});
    BmpLayout topDown = rgb;
    topDown.height = -3;
    s.push_back({"topDown", buildBmp(topDown)});
    BmpLayout fields{.width = 3,
                     .height = 2,
                     .bitsPerPixel = 16,
                     .compression = 3,
                     .masks = {0xF800, 0x07E0, 0x001F},
                     .pixels = Bytes(16, 0xA7)};
    s.push_back({"bitFields", buildBmp(fields)});
    BmpLayout core{.headerSize = 12,
                   .width = 7,
                   .height = 2,
                   .bitsPerPixel = 4,
                   .palette = ramp(16, 3),
                   .pixels = Bytes(8, 0x9E),
                   .bare = true};
    s.push_back({"core4", buildBmp(core)});
    BmpLayout rle8{.width = 6,
                   .height = 3,
                   .bitsPerPixel = 8,
                   .compression = 1,
                   .coloursUsed = 20,
                   .palette = ramp(20, 4)};
    rle8.pixels = {3, 5, 0, 3, 1, 2, 19, 0, 0, 0, 2, 1, 1, 4, 0, 0, 6, 7, 0, 1};
    s.push_back({"rle8", buildBmp(rle8)});
    BmpLayout rle4{.width = 7, .height = 2, .bitsPerPixel = 4, .compression = 2, .palette = ramp(16, 4)};
    rle4.pixels = {7, 0x12, 0, 0, 0, 5, 0x34, 0x56, 0x70, 0, 0, 1};
    s.push_back({"rle4", buildBmp(rle4)});
    return s;
}

// Decodes from a block of exactly the file's size and checks the one-answer rule.
void decodeExactly(const Bytes& file)
{
    auto* block = static_cast<std::uint8_t*>(std::malloc(file.empty() ? 1 : file.size()));
    ASSERT_NE(block, nullptr);
    if (!file.empty()) std::memcpy(block, file.data(), file.size());
    RgbImage* image = nullptr;
    const BmpFailure failure = decodeBmp(block, file.size(), image);
    EXPECT_EQ(image == nullptr, failure != BmpFailure::none);
    if (image) {
        EXPECT_GT(image->width, 0);
        EXPECT_GT(image->height, 0);
        EXPECT_LE(std::size_t(image->width) * std::size_t(image->height) * 3, maxBmpOutputBytes);
        freeRgbImage(image);
    }
    std::free(block);
}

TEST(BmpRobustness, EveryTruncation)
{
    for (const auto& [name, file] : seeds()) {
        SCOPED_TRACE(name);
        for (std::size_t length = 0; length < file.size(); ++length) {
            decodeExactly(Bytes(file.begin(), file.begin() + length));
            if (HasFatalFailure()) return;
        }
    }
}

TEST(BmpRobustness, TruncatedPixelsAreRefused)
{
    for (const auto& [name, file] : seeds()) {
        SCOPED_TRACE(name);
        // Cutting 4 bytes removes at least the last stored pixel or the end marker.
        const Bytes cut(file.begin(), file.end() - 4);
        RgbImage* image = nullptr;
        EXPECT_EQ(decodeBmp(cut.data(), cut.size(), image), BmpFailure::conversion);
    }
}

TEST(BmpRobustness, EverySingleBitFlip)
{
    for (const auto& [name, file] : seeds()) {
        SCOPED_TRACE(name);
        for (std::size_t at = 0; at < file.size(); ++at) {
            for (int bit = 0; bit < 8; ++bit) {
                Bytes flipped = file;
                flipped[at] ^= std::uint8_t(1u << bit);
                decodeExactly(flipped);
                if (HasFatalFailure()) return;
            }
        }
    }
}

// Extreme values written into one header field at a time.
TEST(BmpRobustness, LyingHeaderFields)
{
    const std::uint32_t values[] = {0,       1,          2,          3,          4,         8,   12,
                                    16,      24,         32,         40,         255,       256, 0xFFFF,
                                    0x10000, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFE, 0xFFFFFFFF};
    const std::size_t fields[] = {2, 10, 14, 18, 22, 26, 28, 30, 34, 46};  // "BM" file offsets
    for (const auto& [name, file] : seeds()) {
        if (file[0] != 'B') continue;
        SCOPED_TRACE(name);
        for (std::size_t at : fields) {
            for (std::uint32_t v : values) {
                Bytes lying = file;
                for (int i = 0; i < 4 && at + i < lying.size(); ++i)
                    lying[at + i] = std::uint8_t(v >> (8 * i));
                decodeExactly(lying);
                if (HasFatalFailure()) return;
            }
        }
    }
}

}  // namespace
