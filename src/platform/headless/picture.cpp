// PNG output of a read-back picture.
#include <png.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/headless.h"

namespace headless {

namespace {

// A screen shows no alpha: the frame buffer's alpha channel is whatever the
// blending left there, so the file keeps red, green and blue only.
std::vector<std::uint8_t> dropAlpha(const std::vector<std::uint8_t>& rgba)
{
    std::vector<std::uint8_t> rgb(rgba.size() / 4 * 3);
    for (std::size_t i = 0, o = 0; i + 3 < rgba.size(); i += 4, o += 3) {
        rgb[o] = rgba[i];
        rgb[o + 1] = rgba[i + 1];
        rgb[o + 2] = rgba[i + 2];
    }
    return rgb;
}

}  // namespace

bool savePng(const Picture& picture, const std::string& path)
{
    const std::size_t expected = std::size_t(picture.width) * std::size_t(picture.height) * 4;
    if (picture.width <= 0 || picture.height <= 0 || picture.rgba.size() != expected) {
        std::fprintf(stderr, "savePng: %s: the picture is empty or its size does not match\n", path.c_str());
        return false;
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(picture.width);
    image.height = png_uint_32(picture.height);
    image.format = PNG_FORMAT_RGB;
    const std::vector<std::uint8_t> rgb = dropAlpha(picture.rgba);
    if (!png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr)) {
        std::fprintf(stderr, "savePng: %s: %s\n", path.c_str(), image.message);
        return false;
    }
    return true;
}

}  // namespace headless
