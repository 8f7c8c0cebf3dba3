// RGBA pictures to YUV4MPEG2 frames.
#include "tools/capture/y4m.h"

namespace {

const char frameMarker[] = "FRAME\n";

// BT.601 in studio range with integer arithmetic, so output is the same everywhere.
std::uint8_t lumaOf(int r, int g, int b) { return std::uint8_t(((66 * r + 129 * g + 25 * b + 128) >> 8) + 16); }
std::uint8_t blueDifference(int r, int g, int b) { return std::uint8_t(((-38 * r - 74 * g + 112 * b + 128) >> 8) + 128); }
std::uint8_t redDifference(int r, int g, int b) { return std::uint8_t(((112 * r - 94 * g - 18 * b + 128) >> 8) + 128); }

void appendLuma(const std::uint8_t* rgba, int width, int height, std::vector<std::uint8_t>& out)
{
    for (long i = 0; i < long(width) * height; ++i) {
        const std::uint8_t* p = rgba + i * 4;
        out.push_back(lumaOf(p[0], p[1], p[2]));
    }
}

// Each chroma sample stands for a 2 x 2 block: the block's average colour.
void appendChroma(const std::uint8_t* rgba, int width, int height, bool blue,
                  std::vector<std::uint8_t>& out)
{
    for (int y = 0; y < height; y += 2) {
        for (int x = 0; x < width; x += 2) {
            int sum[3] = {0, 0, 0};
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx)
                    for (int c = 0; c < 3; ++c) sum[c] += rgba[(long(y + dy) * width + x + dx) * 4 + c];
            int r = (sum[0] + 2) / 4, g = (sum[1] + 2) / 4, b = (sum[2] + 2) / 4;
            out.push_back(blue ? blueDifference(r, g, b) : redDifference(r, g, b));
        }
    }
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
    out.clear();
    out.reserve(sizeof frameMarker + std::size_t(width) * height * 3 / 2);
    out.insert(out.end(), frameMarker, frameMarker + sizeof frameMarker - 1);
    appendLuma(rgba, width, height, out);
    appendChroma(rgba, width, height, true, out);
    appendChroma(rgba, width, height, false, out);
}
