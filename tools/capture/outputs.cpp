// The capture's outputs: which frames go where, and the files' start and end.
#include "tools/capture/outputs.h"

#include <cstdio>
#include <filesystem>

namespace {

constexpr int pictureWidth = 640;
constexpr int pictureHeight = 480;

bool preparePictures(const CaptureOptions& o, CaptureOutputs& outputs, std::string& error)
{
    if (o.pngDir.empty()) return true;
    std::error_code made;
    std::filesystem::create_directories(o.pngDir, made);
    if (made) {
        error = "cannot make " + o.pngDir + ": " + made.message();
        return false;
    }
    outputs.pngDir = o.pngDir;
    outputs.pngFrames = std::make_unique<FrameSelector>(o.pngAt, o.pngEvery);
    const std::size_t frameBytes = std::size_t(pictureWidth) * pictureHeight * 4 * o.scale * o.scale;
    const int workers = pngWorkers();
    outputs.pngQueue = std::make_unique<PngQueue>(workers, pngCapacity(workers, frameBytes));
    return true;
}

// An encoded video with sound needs the sound in a file even when --audio was not asked.
bool prepareVideoAndSound(const CaptureOptions& o, CaptureOutputs& outputs, std::string& error)
{
    outputs.wavPath = o.audioPath;
    if (o.videoPath.empty()) return true;
    if (outputs.wavPath.empty() && isEncoded(videoFormatOf(o.videoPath))) {
        outputs.wavPath = o.videoPath + ".sound.wav";
        outputs.temporaryWav = true;
    }
    return outputs.video.open(o.videoPath, o.fps, pictureWidth * o.scale, pictureHeight * o.scale, error);
}

PngJob pngJob(const CaptureOutputs& outputs, headless::Picture&& picture, std::uint64_t frame, double time)
{
    char name[40];
    std::snprintf(name, sizeof name, "frame-%06llu.png", (unsigned long long)frame);
    return PngJob{frame,         time,           outputs.pngDir + "/" + name,
                  picture.width, picture.height, std::move(picture.rgba)};
}

}  // namespace

bool openOutputs(const CaptureOptions& options, CaptureOutputs& outputs, std::string& error)
{
    return preparePictures(options, outputs, error) && prepareVideoAndSound(options, outputs, error);
}

bool takesFrame(CaptureOutputs& outputs, std::uint64_t frame, double time)
{
    outputs.pngThisFrame = outputs.pngFrames && outputs.pngFrames->take(frame, time);
    return outputs.pngThisFrame || outputs.video.isOpen();
}

bool writeFrame(CaptureOutputs& outputs, headless::Picture&& picture, std::uint64_t frame, double time,
                std::vector<PngDone>& done, std::string& error)
{
    bool written = true;
    if (outputs.video.isOpen()) {
        // The PNG job keeps the picture itself: the video then gets a copy.
        std::vector<std::uint8_t> rgba = outputs.pngThisFrame ? picture.rgba : std::move(picture.rgba);
        written = outputs.video.write(std::move(rgba), error);
    }
    if (outputs.pngThisFrame) done = outputs.pngQueue->push(pngJob(outputs, std::move(picture), frame, time));
    return written;
}

bool closeOutputs(CaptureOutputs& outputs, std::vector<PngDone>& done, std::string& error)
{
    if (outputs.pngQueue) done = outputs.pngQueue->finish();
    const bool finished = !outputs.video.isOpen() || outputs.video.finish(outputs.wavPath, error);
    if (outputs.temporaryWav) std::remove(outputs.wavPath.c_str());
    return finished;
}
