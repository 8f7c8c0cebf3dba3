// The show's picture format: 24-bit Windows bitmaps with a 40-byte info header,
// rows bottom-up, each row padded to a multiple of 4 bytes, pixels blue-green-red.
#pragma once

#include "picture.h"

PictureError writeBmp24(const std::string& path, const RgbPicture& picture);
// Reads exactly what writeBmp24 writes (uncompressed 24-bit, bottom-up); anything
// else is refused with the reason.
PictureError readBmp24(const std::string& path, RgbPicture& out);
// The same on bytes in memory; `path` only names the file in messages.
PictureError decodeBmp24(const std::vector<std::uint8_t>& bytes, const std::string& path, RgbPicture& out);
