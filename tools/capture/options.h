// The capture command's options: parsed from the command line into one plain record,
// with every mistake reported as a sentence that names the option.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct FrameRate {
    std::int64_t ticksPerSecond = 60;  // the rate as a fraction: 60000/1001 is
    std::int64_t ticksPerFrame = 1;    // 60000 ticks per second, 1001 per frame
};

struct CaptureOptions {
    std::string dir;  // where the program runs (stuff.dat); empty: here
    FrameRate fps;
    double seconds = -1;    // close request at this clock time; < 0: none
    std::string inputPath;  // script of timed events
    int scale = 1;
    std::string pngDir;         // frames as PNG files
    std::vector<double> pngAt;  // ... the frames at which the clock reaches these
    int pngEvery = 0;           // ... every K-th frame (0: not asked)
    std::string videoPath;      // .y4m, or .mp4 / .mkv through ffmpeg
    std::string audioPath;      // .wav
    std::string reportPath;
    bool quiet = false;  // no progress bar
    bool help = false;
};

constexpr int maxCaptureScale = 8;

// Fills `options` from argv (without the program name). False with `error` set on a
// mistake; a request for help returns true with options.help set.
bool parseOptions(const std::vector<std::string>& args, CaptureOptions& options, std::string& error);

// "60", "60000/1001" or "29.97". False when not a positive rate.
bool parseFrameRate(const std::string& text, FrameRate& rate);
// A non-negative finite decimal number of seconds.
bool parseSeconds(const std::string& text, double& seconds);

const char* captureUsage();
