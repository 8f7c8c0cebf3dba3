// The capture's video file: YUV4MPEG2 written directly, or .mp4 / .mkv encoded by
// ffmpeg (when installed) with the sound muxed in at the end.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <sys/types.h>
#include <vector>

#include "tools/capture/options.h"

class VideoOutput {
public:
    ~VideoOutput();
    // False with `error` set when the file or the encoder cannot be had.
    bool open(const std::string& path, const FrameRate& rate, int width, int height, std::string& error);
    bool isOpen() const { return stream != nullptr; }
    // One frame of RGBA pixels, top row first, of the size given to open.
    bool write(const std::uint8_t* rgba, std::string& error);
    // Ends the file. An encoded video gets the sound of `wavPath` when it holds any.
    bool finish(const std::string& wavPath, std::string& error);

private:
    bool openEncoder(std::string& error);
    bool muxSound(const std::string& wavPath, std::string& error);

    std::string path;      // the file asked for
    std::string partPath;  // the encoder's picture-only file, before the sound is added
    bool encoded = false;  // through ffmpeg
    std::FILE* stream = nullptr;
    pid_t encoder = -1;
    int width = 0, height = 0;
    std::vector<std::uint8_t> frameBytes;
};

// True when `program` can be started from the PATH.
bool programAvailable(const char* program);
