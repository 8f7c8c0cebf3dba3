// PNG encoding into memory with libpng.
#include "tools/capture/png_encoder.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>

namespace {

void appendBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void noFlush(png_structp) {}

// libpng reports failures by longjmp; nothing with a destructor lives in here.
bool encodeRows(png_structp png, png_infop info, const std::uint8_t* rgba, int width, int height,
                const PngCompression& compression)
{
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, compression.level);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, compression.filter);
    png_write_info(png, info);
    png_set_filler(png, 0, PNG_FILLER_AFTER);  // the rows hold a fourth byte to leave out
    const std::size_t rowBytes = std::size_t(width) * 4;
    for (int y = 0; y < height; ++y)
        png_write_row(png, const_cast<png_bytep>(rgba + std::size_t(y) * rowBytes));
    png_write_end(png, info);
    return true;
}

}  // namespace

std::vector<std::uint8_t> encodePng(const std::uint8_t* rgba, int width, int height,
                                    const PngCompression& compression)
{
    std::vector<std::uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = false;
    if (info) {
        png_set_write_fn(png, &out, appendBytes, noFlush);
        ok = encodeRows(png, info, rgba, width, height, compression);
    }
    png_destroy_write_struct(&png, &info);
    if (!ok) out.clear();
    return out;
}

bool writeWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}
