// zwirbelalp-capture: runs the real program on the headless back end, on a virtual
// clock that moves one frame at each buffer swap, and records its pictures and
// sound. The same inputs give the same bytes.
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <cstring>
#include <sstream>

#include "app/clock.h"
#include "platform/common/text.h"
#include "platform/headless.h"
#include "platform/platform.h"
#include "tools/capture/frames.h"
#include "tools/capture/options.h"
#include "tools/capture/png_queue.h"
#include "tools/capture/progress.h"
#include "tools/capture/report.h"
#include "tools/capture/script.h"
#include "tools/capture/video.h"

namespace {

constexpr int pictureWidth = 640;
constexpr int pictureHeight = 480;
constexpr int exitOutputFailed = 1;
constexpr int exitUsage = 2;
constexpr int exitInterrupted = 130;
constexpr double progressInterval = 0.1;  // seconds of wall time between redraws

using WallClock = std::chrono::steady_clock;

// Everything one run keeps, from the options to the counters of what was written.
struct CaptureRun {
    CaptureOptions options;
    std::unique_ptr<FrameSelector> pngFrames;
    std::unique_ptr<PngQueue> pngQueue;
    VideoOutput video;
    std::FILE* report = nullptr;
    std::string wavPath;  // where the sound goes (a temporary file for a video)
    bool temporaryWav = false;
    std::uint64_t frames = 0;  // frames drawn on the running clock
    double lastTime = 0;
    bool quitPosted = false;
    bool failed = false;
    bool showProgress = false;
    WallClock::time_point started = WallClock::now();
    double lastDrawn = -1;
};

CaptureRun capture;
volatile std::sig_atomic_t interrupted = 0;

void onInterrupt(int) { interrupted = 1; }

void complain(const std::string& message)
{
    std::fprintf(stderr, "%szwirbelalp-capture: %s\n", capture.showProgress ? "\n" : "", message.c_str());
}

// Ends the program the way a user would: its loop ends at the next turn.
void stopProgram()
{
    if (capture.quitPosted) return;
    capture.quitPosted = true;
    platform::postQuitMessage(0);
}

void fail(const std::string& message)
{
    complain(message);
    capture.failed = true;
    stopProgram();
}

double wallSeconds() { return std::chrono::duration<double>(WallClock::now() - capture.started).count(); }

void drawProgress(bool last)
{
    double wall = wallSeconds();
    if (!capture.showProgress || (!last && wall - capture.lastDrawn < progressInterval)) return;
    capture.lastDrawn = wall;
    std::string line = progressLine(capture.lastTime, capture.options.seconds, wall, capture.frames);
    std::fprintf(stderr, "\r%s%s", line.c_str(), last ? "\n" : "");
}

// Pictures come back from the queue in frame order, so the report keeps it.
void reportPngs(const std::vector<PngDone>& done)
{
    for (const PngDone& png : done) {
        if (!png.written) {
            fail("cannot write " + png.path);
            continue;
        }
        if (capture.report)
            std::fprintf(capture.report, "png\t%llu\t%.6f\t%s\n", (unsigned long long)png.frame, png.time,
                         escapeReportField(png.path).c_str());
    }
}

void writePng(headless::Picture&& picture, std::uint64_t frame, double time)
{
    char name[40];
    std::snprintf(name, sizeof name, "frame-%06llu.png", (unsigned long long)frame);
    PngJob job{frame,         time,           capture.options.pngDir + "/" + name,
               picture.width, picture.height, std::move(picture.rgba)};
    reportPngs(capture.pngQueue->push(std::move(job)));
}

void writeFrame(std::uint64_t frame, double time)
{
    bool png = capture.pngFrames && capture.pngFrames->take(frame, time);
    if (!png && !capture.video.isOpen()) return;
    headless::Picture picture = headless::readPicture();
    if (picture.rgba.empty()) return fail("the picture could not be read back");
    std::string error;
    if (capture.video.isOpen() && !capture.video.write(picture.rgba.data(), error)) fail(error);
    if (png) writePng(std::move(picture), frame, time);
}

// Called at every buffer swap. The swap inside the window's set-up comes before the
// clock exists: frames count from the clock's zero, as the sound does.
void onSwap(std::uint64_t)
{
    if (interrupted) stopProgram();
    if (clockState.frequency == 0 || capture.failed) return;
    capture.lastTime = totalTime();
    writeFrame(capture.frames++, capture.lastTime);
    drawProgress(false);
}

bool readScript(std::vector<headless::Event>& events)
{
    const std::string& path = capture.options.inputPath;
    if (path.empty()) return true;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        complain("cannot read " + path);
        return false;
    }
    std::stringstream text;
    text << file.rdbuf();
    std::string error;
    if (parseScript(text.str(), events, error)) return true;
    complain(path + ": " + error);
    return false;
}

// Output paths are taken relative to where the command was started, before the run
// moves into --dir.
void makeAbsolute(std::string& path)
{
    std::error_code ignored;
    if (!path.empty()) path = std::filesystem::absolute(path, ignored).string();
}

bool preparePictures()
{
    CaptureOptions& o = capture.options;
    if (o.pngDir.empty()) return true;
    std::error_code error;
    std::filesystem::create_directories(o.pngDir, error);
    if (error) {
        complain("cannot make " + o.pngDir + ": " + error.message());
        return false;
    }
    capture.pngFrames = std::make_unique<FrameSelector>(o.pngAt, o.pngEvery);
    const std::size_t frameBytes = std::size_t(pictureWidth) * pictureHeight * 4 * o.scale * o.scale;
    const int workers = pngWorkers();
    capture.pngQueue = std::make_unique<PngQueue>(workers, pngCapacity(workers, frameBytes));
    return true;
}

// A video with sound needs the sound in a file even when --audio was not asked.
bool prepareVideoAndSound()
{
    CaptureOptions& o = capture.options;
    capture.wavPath = o.audioPath;
    if (o.videoPath.empty()) return true;
    bool encoded = o.videoPath.size() < 4 || o.videoPath.compare(o.videoPath.size() - 4, 4, ".y4m") != 0;
    if (capture.wavPath.empty() && encoded) {
        capture.wavPath = o.videoPath + ".sound.wav";
        capture.temporaryWav = true;
    }
    std::string error;
    int width = pictureWidth * o.scale, height = pictureHeight * o.scale;
    if (capture.video.open(o.videoPath, o.fps, width, height, error)) return true;
    complain(error);
    return false;
}

bool prepareOutputs()
{
    CaptureOptions& o = capture.options;
    for (std::string* path : {&o.pngDir, &o.videoPath, &o.audioPath, &o.reportPath}) makeAbsolute(*path);
    if (!o.reportPath.empty() && !(capture.report = std::fopen(o.reportPath.c_str(), "w"))) {
        complain("cannot write " + o.reportPath);
        return false;
    }
    if (capture.report)
        std::fprintf(capture.report, "capture\t%lld/%lld\t%d\n", (long long)o.fps.ticksPerSecond,
                     (long long)o.fps.ticksPerFrame, o.scale);
    return preparePictures() && prepareVideoAndSound();
}

const char* buttonsName(platform::Buttons buttons)
{
    return buttons == platform::Buttons::Ok ? "ok" : "yesno";
}

const char* answerName(platform::Answer answer)
{
    switch (answer) {
    case platform::Answer::Yes:
        return "yes";
    case platform::Answer::No:
        return "no";
    default:
        return "ok";
    }
}

void writeReport(int exitCode)
{
    std::FILE* r = capture.report;
    if (!r) return;
    for (const headless::MessageBoxRecord& box : headless::messageBoxes())
        std::fprintf(r, "box\t%s\t%s\t%s\t%s\n",
                     escapeReportField(platform::windows1252ToUtf8(box.caption)).c_str(),
                     escapeReportField(platform::windows1252ToUtf8(box.text)).c_str(),
                     buttonsName(box.buttons), answerName(box.answer));
    std::fprintf(r, "frames\t%llu\nseconds\t%.6f\ninterrupted\t%d\nexit\t%d\n",
                 (unsigned long long)capture.frames, capture.lastTime, interrupted ? 1 : 0, exitCode);
    if (std::fclose(r) != 0) complain("cannot write " + capture.options.reportPath);
    capture.report = nullptr;
}

std::string formatSeconds(double seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", seconds);
    return text;
}

bool finishOutputs(int exitCode)
{
    drawProgress(true);
    if (capture.pngQueue) reportPngs(capture.pngQueue->finish());
    std::string error;
    bool ok = !capture.video.isOpen() || capture.video.finish(capture.wavPath, error);
    if (!ok) complain(error);
    if (capture.temporaryWav) std::remove(capture.wavPath.c_str());
    if (capture.pngFrames)
        for (double time : capture.pngFrames->unreached())
            complain("the run ended before " + formatSeconds(time) + " s: no picture for it");
    const std::string& audio = capture.options.audioPath;
    if (!audio.empty() && !std::filesystem::exists(audio))
        complain("no sound was played, so " + audio + " was not written");
    writeReport(exitCode);
    return ok;
}

headless::Config headlessConfig(std::vector<headless::Event> script)
{
    headless::Config config;
    config.ticksPerSecond = capture.options.fps.ticksPerSecond;
    config.ticksPerFrame = capture.options.fps.ticksPerFrame;
    config.scale = capture.options.scale;
    config.script = std::move(script);
    config.wavPath = capture.wavPath;
    config.onSwap = onSwap;
    return config;
}

// The first Ctrl+C ends the program at its next frame, so every file is finished
// properly; a second one ends the capture at once.
void catchInterrupts()
{
    struct sigaction action = {};
    action.sa_handler = onInterrupt;
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);  // a dead encoder shows as a write error
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    if (!parseOptions(args, capture.options, error)) {
        complain(error + " (see --help)");
        return exitUsage;
    }
    if (capture.options.help) {
        std::fputs(captureUsage(), stdout);
        return 0;
    }
    std::vector<headless::Event> script;
    if (!readScript(script)) return exitUsage;
    if (capture.options.seconds >= 0)
        script.push_back({capture.options.seconds, headless::Event::Kind::Close, 0, 0, 0, true});
    if (!prepareOutputs()) return exitOutputFailed;
    const std::string& dir = capture.options.dir;
    if (!dir.empty() && chdir(dir.c_str()) != 0) {
        complain("cannot enter " + dir + ": " + std::strerror(errno));
        return exitUsage;
    }
    headless::configure(headlessConfig(std::move(script)));
    catchInterrupts();
    capture.showProgress = !capture.options.quiet && isatty(STDERR_FILENO);
    int exitCode = platform::programEntry();
    bool ok = finishOutputs(exitCode);
    if (interrupted) return exitInterrupted;
    return ok && !capture.failed ? exitCode : exitOutputFailed;
}
