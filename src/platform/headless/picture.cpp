// PNG output of a read-back picture.
#include <png.h>

#include <cstdio>
#include <cstring>

#include "platform/headless.h"

namespace headless {

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
    image.format = PNG_FORMAT_RGBA;
    if (!png_image_write_to_file(&image, path.c_str(), 0, picture.rgba.data(), 0, nullptr)) {
        std::fprintf(stderr, "savePng: %s: %s\n", path.c_str(), image.message);
        return false;
    }
    return true;
}

}  // namespace headless
