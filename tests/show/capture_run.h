// Runs the whole program through the capture tool (support/capture_harness.h), in a
// directory of its own with a copy of the built stuff.dat, and reads back what the
// run produced: the requested frames, the message boxes and the exit code.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct Rgb {
    int r = 0, g = 0, b = 0;
};

struct Frame {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;  // top row first
    Rgb at(int column, int row) const;
};

struct CaptureRun {
    bool ran = false;  // false: the tool failed; `error` says why
    std::string error;
    int exitCode = -1;
    double lastSeconds = 0.0;        // clock time of the last frame drawn
    std::vector<std::string> boxes;  // "caption: text" of every message box
    std::map<int, Frame> frames;     // by requested time in milliseconds
    std::string output;              // what the tool and the program printed
    const Frame& frame(double seconds) const;
};

struct CaptureRequest {
    std::string name;  // names the run's directory
    std::string fps = "10";
    double seconds = -1.0;   // close request at this time; < 0: none
    std::string inputFile;   // a script in the test data folder; empty: none
    std::vector<double> at;  // frames to read back
    std::string archive;     // the stuff.dat to run from; empty: the built one
};

// Empty when the capture tool and stuff.dat are both there; otherwise why not.
std::string captureUnavailable();
CaptureRun runCapture(const CaptureRequest& request);

// Packs an archive like the built stuff.dat from the built media files, leaving out
// `missing` and, when `invitation` is not empty, with that text as invitation.txt.
// Returns its path, or an empty string when the packer is not there or fails.
std::string packVariant(const std::string& name, const std::vector<std::string>& missing,
                        const std::string& invitation);

// Largest channel difference of two colours.
int colourDistance(Rgb a, Rgb b);
// Share of pixels in the rectangle whose colours differ by more than `threshold`.
double changedShare(const Frame& a, const Frame& b, int x0, int y0, int x1, int y1, int threshold);
// The vertical shift (pixels, content of `b` moved up relative to `a`) within
// -range..range that best aligns the rectangle of `a` with `b`; `error` receives
// the mean absolute difference at that shift.
int bestVerticalShift(const Frame& a, const Frame& b, int x0, int y0, int x1, int y1, int range,
                      double& error);
// Mean absolute channel difference over the rectangle.
double meanDifference(const Frame& a, const Frame& b, int x0, int y0, int x1, int y1);
// Share of pixels in the rectangle for which `test` holds.
double shareOf(const Frame& f, int x0, int y0, int x1, int y1, bool (*test)(Rgb));
