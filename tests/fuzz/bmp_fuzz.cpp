// The BMP decoder on any bytes: a picture comes out whole (every pixel readable)
// with no failure, or a failure with no picture.
//
// The decoder accepts pictures of up to 256 MiB, and a few bytes of RLE can ask
// for one: filling and reading it under the sanitizers takes seconds a run. The
// harness lowers the limit to 4 MiB, five times the show's largest picture
// (512 x 512), which keeps every size check and every decoding path in play.
#include <cstdint>

#include "fuzz_check.h"
#include "media/bmp.h"

namespace {

constexpr std::size_t harnessOutputBytes = std::size_t(4) << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    RgbImage* image = nullptr;
    const BmpFailure failure = decodeBmp(bytes, size, image, harnessOutputBytes);
    FUZZ_CHECK((image == nullptr) == (failure != BmpFailure::none));
    if (!image) return 0;
    FUZZ_CHECK(image->width > 0 && image->height > 0 && image->pixels != nullptr);
    touchBytes(image->pixels, std::size_t(image->width) * std::size_t(image->height) * 3);
    freeRgbImage(image);
    return 0;
}
