// The BMP loader: read the file, parse its headers into the normalised layout,
// check that everything the layout promises lies inside the file, convert.
#include "media/bmp.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "media/bmp_layout.h"
#include "platform/common/little_endian.h"

namespace {

using bmp::Layout;

constexpr std::size_t fileHeaderBytes = 14;
constexpr std::size_t pixelOffsetField = 10;
constexpr std::uint32_t coreHeaderBytes = 12;
constexpr std::uint32_t infoHeaderBytes = 40;
constexpr std::size_t maskBytes = 12;

// Colour-table entries: colours used when an info header gives it, else by depth.
std::uint32_t colourEntries(const Layout& l, bool info)
{
    if (info && l.coloursUsed != 0) return l.coloursUsed & 0xFFFF;
    switch (l.bitsPerPixel) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

void readHeaderFields(const std::uint8_t* h, bool info, Layout& l)
{
    if (!info) {
        l.width = std::int32_t(platform::le16(h + 4));
        l.height = std::int32_t(platform::le16(h + 6));
        l.planes = std::uint16_t(platform::le16(h + 8));
        l.bitsPerPixel = std::uint16_t(platform::le16(h + 10));
        l.entrySize = 3;
        return;
    }
    l.width = std::int32_t(platform::le32(h + 4));
    l.height = std::int32_t(platform::le32(h + 8));
    l.planes = std::uint16_t(platform::le16(h + 12));
    l.bitsPerPixel = std::uint16_t(platform::le16(h + 14));
    l.compression = platform::le32(h + 16);
    l.imageSize = platform::le32(h + 20);
    l.coloursUsed = platform::le32(h + 32);
    l.entrySize = 4;
}

// 16- and 32-bit pixels without masks in the file: 5-5-5 and 8-8-8.
void defaultMasks(Layout& l)
{
    if (l.bitsPerPixel == 16) {
        l.masks[0] = 0x7C00;
        l.masks[1] = 0x03E0;
        l.masks[2] = 0x001F;
    } else if (l.bitsPerPixel == 32) {
        l.masks[0] = 0xFF0000;
        l.masks[1] = 0xFF00;
        l.masks[2] = 0xFF;
    }
}

}  // namespace

namespace {

// Locates the bitmap header, the channel masks, the colour table and the pixel
// data, and fills the layout from the header.
BmpFailure parse(const std::uint8_t* data, std::size_t size, Layout& l)
{
    const bool isFile = size >= 2 && data[0] == 'B' && data[1] == 'M';
    const std::size_t start = isFile ? fileHeaderBytes : 0;
    if (size < start + 4) return BmpFailure::conversion;
    const std::uint32_t headerSize = platform::le32(data + start);
    if (headerSize != coreHeaderBytes && headerSize != infoHeaderBytes) return BmpFailure::unknownFormat;
    if (size - start < headerSize) return BmpFailure::conversion;
    const bool info = headerSize == infoHeaderBytes;
    readHeaderFields(data + start, info, l);

    std::size_t table = start + headerSize;
    defaultMasks(l);
    if (info && l.compression == bmp::bitFields) {
        if (size - table < maskBytes) return BmpFailure::conversion;
        for (int i = 0; i < 3; ++i) l.masks[i] = platform::le32(data + table + 4 * i);
        table += maskBytes;
    }
    l.colourCount = colourEntries(l, info);
    const std::size_t tableBytes = std::size_t(l.colourCount) * l.entrySize;
    if (l.bitsPerPixel <= 8) {  // only palette pictures read their table
        if (size - table < tableBytes) return BmpFailure::conversion;
        l.colourTable = data + table;
    }
    const std::size_t pixels = isFile ? platform::le32(data + pixelOffsetField) : table + tableBytes;
    if (pixels > size) return BmpFailure::conversion;
    l.bits = data + pixels;
    l.bitsSize = size - pixels;
    return BmpFailure::none;
}

bool validDepthAndCompression(const Layout& l)
{
    switch (l.compression) {
    case bmp::rgb:
        return l.bitsPerPixel == 1 || l.bitsPerPixel == 4 || l.bitsPerPixel == 8 || l.bitsPerPixel == 16 ||
               l.bitsPerPixel == 24 || l.bitsPerPixel == 32;
    case bmp::rle8:
        return l.bitsPerPixel == 8 && l.height > 0;
    case bmp::rle4:
        return l.bitsPerPixel == 4 && l.height > 0;
    case bmp::bitFields:
        return l.bitsPerPixel == 16 || l.bitsPerPixel == 32;
    default:
        return false;
    }
}

// Sizes first (before anything is allocated), then whether the stored rows of an
// uncompressed picture are all inside the file. RLE streams are checked as they
// are decoded.
BmpFailure check(const Layout& l, std::size_t maxOutputBytes)
{
    if (l.width <= 0 || l.height == 0 || !validDepthAndCompression(l)) return BmpFailure::conversion;
    const std::size_t rows = bmp::rowCount(l);
    const std::size_t rowBytes = std::size_t(l.width) * 3;
    if (rows > maxOutputBytes / rowBytes) return BmpFailure::outOfMemory;
    if (l.compression == bmp::rle8 || l.compression == bmp::rle4) return BmpFailure::none;
    const std::size_t lastRow = (std::size_t(l.bitsPerPixel) * std::size_t(l.width) + 7) / 8;
    const std::size_t needed = bmp::storedRowBytes(l) * (rows - 1) + lastRow;
    return needed <= l.bitsSize ? BmpFailure::none : BmpFailure::conversion;
}

BmpFailure convert(const Layout& l, RgbImage*& image)
{
    const std::size_t rows = bmp::rowCount(l);
    auto* pixels = static_cast<std::uint8_t*>(std::calloc(rows * std::size_t(l.width), 3));
    if (!pixels) return BmpFailure::outOfMemory;
    if (l.compression == bmp::rle8 || l.compression == bmp::rle4) {
        if (!bmp::decodeRle(l, pixels)) {
            std::free(pixels);
            return BmpFailure::conversion;
        }
    } else {
        bmp::convertRows(l, pixels);
    }
    image = static_cast<RgbImage*>(std::malloc(sizeof(RgbImage)));
    if (!image) {
        std::free(pixels);
        return BmpFailure::outOfMemory;
    }
    *image = RgbImage{l.width, std::int32_t(rows), pixels};
    return BmpFailure::none;
}

}  // namespace

BmpFailure decodeBmp(const std::uint8_t* bytes, std::size_t size, RgbImage*& image,
                     std::size_t maxOutputBytes)
{
    image = nullptr;
    if (!bytes || size == 0) return BmpFailure::unreadable;  // an empty file cannot be mapped
    Layout layout;
    BmpFailure failure = parse(bytes, size, layout);
    if (failure == BmpFailure::none) failure = check(layout, std::min(maxOutputBytes, maxBmpOutputBytes));
    if (failure == BmpFailure::none) failure = convert(layout, image);
    return failure;
}

// No valid picture within the output limit needs a file much larger than its
// output (32-bit pixels take 4 bytes for 3); bigger files are not read at all.
constexpr long maxFileBytes = long(2 * maxBmpOutputBytes);

// The whole file in one block, like a read-only mapping of it. Null when it cannot
// be read; `tooBig` set when it was not even tried.
static std::uint8_t* readWholeFile(const char* path, std::size_t& size, bool& tooBig)
{
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return nullptr;
    std::uint8_t* data = nullptr;
    long length = -1;
    // An empty file, or a directory, has no first byte to read.
    if (std::fgetc(file) != EOF && std::fseek(file, 0, SEEK_END) == 0) length = std::ftell(file);
    tooBig = length > maxFileBytes;
    if (length > 0 && !tooBig && std::fseek(file, 0, SEEK_SET) == 0)
        data = static_cast<std::uint8_t*>(std::malloc(std::size_t(length)));
    if (data && std::fread(data, 1, std::size_t(length), file) != std::size_t(length)) {
        std::free(data);
        data = nullptr;
    }
    std::fclose(file);
    size = data ? std::size_t(length) : 0;
    return data;
}

BmpFailure loadBmp(const char* path, RgbImage*& image)
{
    image = nullptr;
    std::size_t size = 0;
    bool tooBig = false;
    std::uint8_t* data = readWholeFile(path, size, tooBig);
    if (!data) return tooBig ? BmpFailure::outOfMemory : BmpFailure::unreadable;
    const BmpFailure failure = decodeBmp(data, size, image);
    std::free(data);
    return failure;
}

void freeRgbImage(RgbImage* image)
{
    if (!image) return;
    std::free(image->pixels);
    std::free(image);
}
