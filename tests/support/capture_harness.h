// Whole-program runs for tests: the program is run by zwirbelalp-capture in a child
// process (its state is process-wide and never reset, so every run needs a fresh
// process), and what it did comes back from the capture's report.
//
//   CaptureResult run = runCapture({"--seconds", "3", "--png", "png", "--at", "2.5"}, makeShowDir());
//   ASSERT_EQ(run.exitCode, 0) << run.output;
//   RgbaPicture frame = run.pictureAt(2.5);   // the frame at 2.5 s, empty if none
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "picture.h"

struct CapturedPng {
    std::uint64_t frame = 0;
    double time = 0;
    std::string path;
};

struct CapturedBox {
    std::string caption;  // UTF-8, as the report holds it (escapes undone)
    std::string text;
    std::string buttons;  // "ok" or "yesno"
    std::string answer;   // "ok", "yes" or "no"
};

struct CaptureResult {
    int exitCode = -1;   // the capture's exit code; -1 when it did not exit normally
    std::string output;  // what it printed (stdout and stderr)
    bool reportRead = false;
    std::vector<CapturedPng> pngs;
    std::vector<CapturedBox> boxes;
    std::uint64_t frames = 0;
    double seconds = 0;
    bool interrupted = false;
    int programExit = -1;
    // Path of the first picture taken at or after `time`, or "".
    std::string pngAt(double time) const;
    // That picture read back (straight RGBA, top row first); empty when there is none.
    RgbaPicture pictureAt(double time) const;
};

// The built capture command and the built archive.
std::string captureProgram();
std::string builtArchive();
// Empty when the capture command and the built archive are both there; otherwise why not.
std::string captureUnavailable();

// A fresh empty directory under the system's temporary directory.
std::string makeTempDir();
// A fresh directory holding a copy of `archive` as stuff.dat.
std::string makeShowDir(const std::string& archive = builtArchive());

// Runs the capture with `args` in `workDir` (adds --report and --quiet itself) and
// waits for it.
CaptureResult runCapture(const std::vector<std::string>& args, const std::string& workDir);
// The same with another build of the capture command (a test's own variant).
CaptureResult runCaptureWith(const std::string& program, const std::vector<std::string>& args,
                             const std::string& workDir);

// Runs `program` in a fresh directory with the built stuff.dat on the input script
// `script` (a file's path) at `fps` frames a second, closes it at `seconds`, and
// keeps the frames at `moments` as PNG files.
CaptureResult recordMoments(const std::string& program, const std::string& script, const std::string& fps,
                            double seconds, const std::vector<double>& moments);

// The same in two halves, for tests that act on the running capture (Ctrl+C ...):
// the child's process id (or -1), then its result.
int startCapture(const std::vector<std::string>& args, const std::string& workDir);
CaptureResult finishCapture(int pid, const std::string& workDir);

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);
