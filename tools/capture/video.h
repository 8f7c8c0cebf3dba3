// The capture's video file: YUV4MPEG2 written directly, or .mp4 / .mkv encoded by
// ffmpeg (when installed) with the sound muxed in at the end. Frames are converted
// and written on a thread of their own (frame_writer.h), in order.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

#include "tools/capture/frame_writer.h"
#include "tools/capture/options.h"

// What a --video path asks for, by its ending: y4m is written here; mp4 and mkv go
// through ffmpeg and carry the sound.
enum class VideoFormat { unknown, y4m, mp4, mkv };

VideoFormat videoFormatOf(const std::string& path);
inline bool isEncoded(VideoFormat format) { return format == VideoFormat::mp4 || format == VideoFormat::mkv; }

class VideoOutput {
public:
    ~VideoOutput();
    // False with `error` set when the file or the encoder cannot be had.
    bool open(const std::string& path, const FrameRate& rate, int width, int height, std::string& error);
    bool isOpen() const { return stream != nullptr; }
    // One frame of RGBA pixels, top row first, of the size given to open. False with
    // `error` set once an earlier frame could not be written.
    bool write(std::vector<std::uint8_t> rgba, std::string& error);
    // Writes the frames still waiting and ends the file. An encoded video gets the
    // sound of `wavPath` when it holds any.
    bool finish(const std::string& wavPath, std::string& error);

private:
    bool openEncoder(std::string& error);
    bool writeNow(const std::vector<std::uint8_t>& rgba);
    bool closeStream(std::string& error);
    bool muxSound(const std::string& wavPath, std::string& error);
    std::string writeError() const;

    std::string path;      // the file asked for
    std::string partPath;  // the encoder's picture-only file, before the sound is added
    VideoFormat format = VideoFormat::unknown;
    std::unique_ptr<FrameWriter> writer;
    std::FILE* stream = nullptr;
    pid_t encoder = -1;
    int width = 0, height = 0;
    std::vector<std::uint8_t> frameBytes;
};

// True when `program` can be started from the PATH.
bool programAvailable(const char* program);
