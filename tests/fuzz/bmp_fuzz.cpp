// The BMP decoder on any bytes: a picture comes out whole (every pixel readable)
// with no failure, or a failure with no picture.
#include <cstdint>

#include "fuzz_check.h"
#include "media/bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    RgbImage* image = nullptr;
    const BmpFailure failure = decodeBmp(bytes, size, image);
    FUZZ_CHECK((image == nullptr) == (failure != BmpFailure::none));
    if (!image) return 0;
    FUZZ_CHECK(image->width > 0 && image->height > 0 && image->pixels != nullptr);
    touchBytes(image->pixels, std::size_t(image->width) * std::size_t(image->height) * 3);
    freeRgbImage(image);
    return 0;
}
