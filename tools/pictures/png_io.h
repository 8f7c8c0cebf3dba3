// PNG files in and out of the media tools (libpng's simplified interface).
#pragma once

#include "picture.h"

// Reads any PNG as straight (not premultiplied) 8-bit RGBA.
PictureError readPngRgba(const std::string& path, RgbaPicture& out);
PictureError writePngRgba(const std::string& path, const RgbaPicture& picture);
PictureError writePngRgb(const std::string& path, const RgbPicture& picture);
