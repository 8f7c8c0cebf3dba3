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
#include <cstring>
#include <sstream>

#include "app/clock.h"
#include "platform/common/text.h"
#include "platform/headless.h"
#include "platform/platform.h"
#include "tools/capture/options.h"
#include "tools/capture/outputs.h"
#include "tools/capture/progress.h"
#include "tools/capture/report.h"
#include "tools/capture/script.h"

namespace {

constexpr int exitOutputFailed = 1;
constexpr int exitUsage = 2;
constexpr int exitInterrupted = 130;
constexpr double progressInterval = 0.1;  // seconds of wall time between redraws

using WallClock = std::chrono::steady_clock;

// Everything one run keeps, from the options to the counters of what was written.
struct CaptureRun {
    CaptureOptions options;
    CaptureOutputs outputs;
    std::FILE* report = nullptr;
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

void recordFrame(std::uint64_t frame, double time)
{
    if (!takesFrame(capture.outputs, frame, time)) return;
    headless::Picture picture = headless::readPicture();
    if (picture.rgba.empty()) return fail("the picture could not be read back");
    std::vector<PngDone> done;
    std::string error;
    if (!writeFrame(capture.outputs, std::move(picture), frame, time, done, error)) fail(error);
    reportPngs(done);
}

// Called at every buffer swap. The swap inside the window's set-up comes before the
// clock exists: frames count from the clock's zero, as the sound does.
void onSwap(std::uint64_t)
{
    if (interrupted) stopProgram();
    if (clockState.frequency == 0 || capture.failed) return;
    capture.lastTime = totalTime();
    recordFrame(capture.frames++, capture.lastTime);
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
    std::string error;
    if (openOutputs(o, capture.outputs, error)) return true;
    complain(error);
    return false;
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
    std::vector<PngDone> done;
    std::string error;
    const bool ok = closeOutputs(capture.outputs, done, error);
    reportPngs(done);
    if (!ok) complain(error);
    if (capture.outputs.pngFrames)
        for (double time : capture.outputs.pngFrames->unreached())
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
    config.wavPath = capture.outputs.wavPath;
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
