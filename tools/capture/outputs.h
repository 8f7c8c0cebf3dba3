// Everything a capture writes besides its report, behind a few calls: PNG frames
// (compressed on worker threads), the video (y4m written here, or mp4 / mkv through
// ffmpeg's standard input, on a thread of its own) and the sound, which the headless
// back end writes as WAV and an encoded video takes in at the end.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/headless.h"
#include "tools/capture/frames.h"
#include "tools/capture/options.h"
#include "tools/capture/png_queue.h"
#include "tools/capture/video.h"

struct CaptureOutputs {
    std::string pngDir;
    std::unique_ptr<FrameSelector> pngFrames;  // null without --png
    std::unique_ptr<PngQueue> pngQueue;
    bool pngThisFrame = false;  // the last frame asked about is to be a PNG file
    VideoOutput video;
    std::string wavPath;        // where the back end writes the sound ("": nowhere)
    bool temporaryWav = false;  // the sound only for the video: removed at the end
};

// Opens what `options` asks for (paths already absolute). False with `error` set.
bool openOutputs(const CaptureOptions& options, CaptureOutputs& outputs, std::string& error);

// Whether any output takes this frame. Asked once for every frame, in order.
bool takesFrame(CaptureOutputs& outputs, std::uint64_t frame, double time);

// Hands the picture of the frame asked about last to the outputs that take it.
// `done` gets the PNG files finished by now, in frame order. False with `error`
// set when the video could not be written.
bool writeFrame(CaptureOutputs& outputs, headless::Picture&& picture, std::uint64_t frame, double time,
                std::vector<PngDone>& done, std::string& error);

// Waits for the PNG files still being made (into `done`), ends the video (an
// encoded one with the sound) and removes a temporary sound file. False with
// `error` set when the video could not be finished.
bool closeOutputs(CaptureOutputs& outputs, std::vector<PngDone>& done, std::string& error);
