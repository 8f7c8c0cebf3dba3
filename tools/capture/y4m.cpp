// RGBA pictures to YUV4MPEG2 frames.
#include "tools/capture/y4m.h"

#include <algorithm>

namespace {

const char frameMarker[] = "FRAME\n";

// BT.601 in studio range with integer arithmetic, so output is the same everywhere.
std::uint8_t lumaOf(int r, int g, int b)
{
    return std::uint8_t(((66 * r + 129 * g + 25 * b + 128) >> 8) + 16);
}
std::uint8_t blueDifference(int r, int g, int b)
{
    return std::uint8_t(((-38 * r - 74 * g + 112 * b + 128) >> 8) + 128);
}
std::uint8_t redDifference(int r, int g, int b)
{
    return std::uint8_t(((112 * r - 94 * g - 18 * b + 128) >> 8) + 128);
}

std::uint8_t* putLuma(const std::uint8_t* rgba, int width, int height, std::uint8_t* out)
{
    const std::size_t pixels = std::size_t(width) * std::size_t(height);
    for (std::size_t i = 0; i < pixels; ++i, rgba += 4) *out++ = lumaOf(rgba[0], rgba[1], rgba[2]);
    return out;
}

// Each chroma sample stands for a 2 x 2 block: the block's average colour.
std::uint8_t* putChroma(const std::uint8_t* rgba, int width, int height, bool blue, std::uint8_t* out)
{
    const std::size_t rowBytes = std::size_t(width) * 4;
    for (int y = 0; y < height; y += 2) {
        const std::uint8_t* top = rgba + std::size_t(y) * rowBytes;
        const std::uint8_t* bottom = top + rowBytes;
        for (int x = 0; x < width; x += 2, top += 8, bottom += 8) {
            int r = (top[0] + top[4] + bottom[0] + bottom[4] + 2) / 4;
            int g = (top[1] + top[5] + bottom[1] + bottom[5] + 2) / 4;
            int b = (top[2] + top[6] + bottom[2] + bottom[6] + 2) / 4;
            *out++ = blue ? blueDifference(r, g, b) : redDifference(r, g, b);
        }
    }
    return out;
}

}  // namespace

std::string y4mHeader(int width, int height, std::int64_t ticksPerSecond, std::int64_t ticksPerFrame)
{
    return "YUV4MPEG2 W" + std::to_string(width) + " H" + std::to_string(height) + " F" +
           std::to_string(ticksPerSecond) + ":" + std::to_string(ticksPerFrame) +
           " Ip A1:1 C420jpeg XCOLORRANGE=LIMITED\n";
}

void y4mFrame(const std::uint8_t* rgba, int width, int height, std::vector<std::uint8_t>& out)
{
    const std::size_t markerBytes = sizeof frameMarker - 1;
    const std::size_t pixels = std::size_t(width) * std::size_t(height);
    out.resize(markerBytes + pixels + pixels / 2);
    std::uint8_t* at = std::copy(frameMarker, frameMarker + markerBytes, out.data());
    at = putLuma(rgba, width, height, at);
    at = putChroma(rgba, width, height, true, at);
    putChroma(rgba, width, height, false, at);
}
