#include "png_io.h"

#include <png.h>

#include <cstring>

namespace {

constexpr png_uint_32 maxSide = 1 << 14;  // far beyond any picture of the show

}  // namespace

PictureError readPngRgba(const std::string& path, RgbaPicture& out)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return path + ": not a readable PNG (" + image.message + ")";
    if (image.width > maxSide || image.height > maxSide) {
        png_image_free(&image);
        return path + ": picture of " + std::to_string(image.width) + " x " + std::to_string(image.height) +
               " is too large";
    }
    image.format = PNG_FORMAT_RGBA;
    RgbaPicture picture;
    picture.width = int(image.width);
    picture.height = int(image.height);
    picture.pixels.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr)) {
        PictureError error = path + ": damaged PNG (" + image.message + ")";
        png_image_free(&image);
        return error;
    }
    out = std::move(picture);
    return {};
}

namespace {

PictureError writePng(const std::string& path, int width, int height, png_uint_32 format,
                      const std::uint8_t* pixels)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(width);
    image.height = png_uint_32(height);
    image.format = format;
    if (!png_image_write_to_file(&image, path.c_str(), 0, pixels, 0, nullptr))
        return path + ": cannot write PNG (" + image.message + ")";
    return {};
}

}  // namespace

PictureError writePngRgba(const std::string& path, const RgbaPicture& picture)
{
    return writePng(path, picture.width, picture.height, PNG_FORMAT_RGBA, picture.pixels.data());
}

PictureError writePngRgb(const std::string& path, const RgbPicture& picture)
{
    return writePng(path, picture.width, picture.height, PNG_FORMAT_RGB, picture.pixels.data());
}
