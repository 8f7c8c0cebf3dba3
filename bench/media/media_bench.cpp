// How long the start-up spends on pictures: decoding one 512 x 512 picture of each
// kind the media set may use, and painting the procedural canvases. The whole
// start-up loads 32 pictures and paints 4 canvases before the first frame.
#include <benchmark/benchmark.h>

#include "bmp_files.h"
#include "gfx/color_canvas.h"
#include "media/bmp.h"

namespace {

constexpr int side = 512;

Bytes picture(std::uint16_t bitsPerPixel, std::uint32_t compression)
{
    BmpLayout s{.width = side, .height = side, .bitsPerPixel = bitsPerPixel, .compression = compression};
    if (bitsPerPixel == 8) {
        for (int i = 0; i < 256; ++i)
            s.palette.insert(s.palette.end(), {std::uint8_t(i), 0, std::uint8_t(255 - i), 0});
    }
    if (compression == 1) {  // rows of 16-pixel runs, each row ended by an end of line
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; x += 16) s.pixels.insert(s.pixels.end(), {16, std::uint8_t(x + y)});
            s.pixels.insert(s.pixels.end(), {0, 0});
        }
        s.pixels.insert(s.pixels.end(), {0, 1});
        return buildBmp(s);
    }
    const std::size_t bytes = std::size_t(side) * side * bitsPerPixel / 8;
    for (std::size_t i = 0; i < bytes; ++i) s.pixels.push_back(std::uint8_t(i * 31));
    return buildBmp(s);
}

void decode(benchmark::State& state, std::uint16_t bitsPerPixel, std::uint32_t compression)
{
    const Bytes file = picture(bitsPerPixel, compression);
    for (auto _ : state) {
        RgbImage* image = nullptr;
        benchmark::DoNotOptimize(decodeBmp(file.data(), file.size(), image));
        benchmark::DoNotOptimize(image);
        freeRgbImage(image);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * side * side * 3);
}

void paintCanvases(benchmark::State& state)
{
    for (auto _ : state) {
        ColorCanvas drawing(256, 256), target(256, 256);
        drawing.drawRadialGradient(128, 128, 120, Color(235, 222, 180));
        target.blend(Add, 1.0f, drawing);
        drawing.fill(Color(255, 255, 255));
        drawing.drawDisc(128, 128, 80, Color(0, 0, 0));
        target.blend(Add, 1.0f, drawing);
        benchmark::DoNotOptimize(target.pixel(128, 128));
    }
}

}  // namespace

BENCHMARK_CAPTURE(decode, rgb24, 24, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(decode, palette8, 8, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(decode, rle8, 8, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(decode, rgb32, 32, 0)->Unit(benchmark::kMillisecond);
BENCHMARK(paintCanvases)->Unit(benchmark::kMillisecond);
