// YUV4MPEG2 output: a header, then per frame "FRAME" and the Y, Cb and Cr planes
// (4:2:0, BT.601 studio range). Every frame is written whole and flushed, so a file
// cut off between frames stays readable.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Header for width x height at ticksPerSecond / ticksPerFrame frames per second.
std::string y4mHeader(int width, int height, std::int64_t ticksPerSecond, std::int64_t ticksPerFrame);
// One frame's bytes ("FRAME\n" and the planes) from RGBA pixels, top row first.
// Width and height must be even.
void y4mFrame(const std::uint8_t* rgba, int width, int height, std::vector<std::uint8_t>& out);
