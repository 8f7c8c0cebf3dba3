#include "bmp_io.h"

#include <fstream>
#include <iterator>

#include "little_endian.h"

namespace {

constexpr std::size_t fileHeaderSize = 14;
constexpr std::size_t infoHeaderSize = 40;
constexpr std::size_t pixelOffset = fileHeaderSize + infoHeaderSize;
constexpr int maxSide = 1 << 14;  // far beyond any picture of the show

std::size_t rowStride(int width) { return (std::size_t(width) * 3 + 3) & ~std::size_t(3); }

std::vector<std::uint8_t> encode(const RgbPicture& picture)
{
    std::size_t stride = rowStride(picture.width);
    std::size_t imageSize = stride * picture.height;
    std::vector<std::uint8_t> b(pixelOffset + imageSize, 0);
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 2, std::uint32_t(b.size()));
    put32(b, 10, pixelOffset);
    put32(b, 14, infoHeaderSize);
    put32(b, 18, std::uint32_t(picture.width));
    put32(b, 22, std::uint32_t(picture.height));
    put16(b, 26, 1);   // planes
    put16(b, 28, 24);  // bits per pixel
    put32(b, 34, std::uint32_t(imageSize));
    put32(b, 38, 2835);  // 72 dpi, as paint programs write it
    put32(b, 42, 2835);
    for (int y = 0; y < picture.height; ++y) {
        std::uint8_t* row = &b[pixelOffset + stride * (picture.height - 1 - y)];
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t* p = picture.at(x, y);
            row[x * 3] = p[2];
            row[x * 3 + 1] = p[1];
            row[x * 3 + 2] = p[0];
        }
    }
    return b;
}

}  // namespace

PictureError writeBmp24(const std::string& path, const RgbPicture& picture)
{
    if (picture.width <= 0 || picture.height <= 0) return path + ": refusing to write an empty picture";
    std::vector<std::uint8_t> bytes = encode(picture);
    std::ofstream file(path, std::ios::binary);
    if (!file) return path + ": cannot create the file";
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!file.flush()) return path + ": write failed";
    return {};
}

PictureError decodeBmp24(const std::vector<std::uint8_t>& b, const std::string& path, RgbPicture& out)
{
    if (b.size() < pixelOffset || b[0] != 'B' || b[1] != 'M')
        return path + ": not a bitmap file (no \"BM\" header)";
    if (get32(b, 14) != infoHeaderSize) return path + ": header is not a 40-byte info header";
    int width = int(get32(b, 18));
    int height = int(get32(b, 22));
    if (width <= 0 || height <= 0 || width > maxSide || height > maxSide)
        return path + ": unsupported size " + std::to_string(width) + " x " + std::to_string(height);
    if (get16(b, 28) != 24 || get32(b, 30) != 0) return path + ": not an uncompressed 24-bit bitmap";
    std::size_t offset = get32(b, 10);
    std::size_t stride = rowStride(width);
    if (offset > b.size() || b.size() - offset < stride * height)
        return path + ": file is shorter than its pixel rows";
    RgbPicture picture(width, height);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = &b[offset + stride * (height - 1 - y)];
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = picture.at(x, y);
            p[0] = row[x * 3 + 2];
            p[1] = row[x * 3 + 1];
            p[2] = row[x * 3];
        }
    }
    out = std::move(picture);
    return {};
}

PictureError readBmp24(const std::string& path, RgbPicture& out)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) return path + ": cannot open the file";
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return decodeBmp24(bytes, path, out);
}
