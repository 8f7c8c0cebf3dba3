// Command-line parsing of the capture command.
#include "tools/capture/options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numeric>

#include "tools/capture/video.h"

namespace {

constexpr std::int64_t maxRateTerm = 1000000;  // keeps tick arithmetic far from overflow
constexpr int maxRateDecimals = 6;
constexpr std::int64_t maxEvery = 1000000000;

// Whole text as a decimal integer in 1..max.
bool parseCount(const std::string& text, std::int64_t max, std::int64_t& value)
{
    if (text.empty() || text.size() > 19) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    value = std::strtoll(text.c_str(), nullptr, 10);
    return value >= 1 && value <= max;
}

// "29.97" becomes 2997/100.
bool parseDecimalRate(const std::string& text, FrameRate& rate)
{
    std::size_t dot = text.find('.');
    std::string whole = text.substr(0, dot), fraction = text.substr(dot + 1);
    if (fraction.empty() || fraction.size() > maxRateDecimals) return false;
    std::int64_t denominator = 1;
    for (std::size_t i = 0; i < fraction.size(); ++i) denominator *= 10;
    std::int64_t numerator = 0;
    if (!parseCount(whole + fraction, maxRateTerm * denominator, numerator)) return false;
    rate.ticksPerSecond = numerator;
    rate.ticksPerFrame = denominator;
    return true;
}

bool parseTimeList(const std::string& text, std::vector<double>& times)
{
    std::size_t start = 0;
    while (true) {
        std::size_t comma = text.find(',', start);
        double t = 0;
        if (!parseSeconds(text.substr(start, comma - start), t)) return false;
        times.push_back(t);
        if (comma == std::string::npos) return true;
        start = comma + 1;
    }
}

bool parseInt(const std::string& text, std::int64_t max, int& value)
{
    std::int64_t count = 0;
    if (!parseCount(text, max, count)) return false;
    value = int(count);
    return true;
}

// One option with its value; false with `error` set when the value is wrong.
bool applyOption(const std::string& name, const std::string& value, CaptureOptions& o, std::string& error)
{
    if (value.empty()) {
        error = name + " needs a value";
        return false;
    }
    bool ok = true;
    if (name == "--dir")
        o.dir = value;
    else if (name == "--fps")
        ok = parseFrameRate(value, o.fps);
    else if (name == "--seconds")
        ok = parseSeconds(value, o.seconds);
    else if (name == "--input")
        o.inputPath = value;
    else if (name == "--scale")
        ok = parseInt(value, maxCaptureScale, o.scale);
    else if (name == "--png")
        o.pngDir = value;
    else if (name == "--at")
        ok = parseTimeList(value, o.pngAt);
    else if (name == "--every")
        ok = parseInt(value, maxEvery, o.pngEvery);
    else if (name == "--video")
        o.videoPath = value;
    else if (name == "--audio")
        o.audioPath = value;
    else if (name == "--report")
        o.reportPath = value;
    else {
        error = "unknown option " + name;
        return false;
    }
    if (!ok) error = name + ": '" + value + "' is not a valid value";
    return ok;
}

bool checkCombination(const CaptureOptions& o, std::string& error)
{
    if (o.pngDir.empty() && (!o.pngAt.empty() || o.pngEvery != 0))
        error = "--at and --every choose frames for --png; give --png DIR too";
    else if (!o.videoPath.empty() && videoFormatOf(o.videoPath) == VideoFormat::unknown)
        error = "--video: '" + o.videoPath + "' must end in .y4m, .mp4 or .mkv";
    else if (!o.audioPath.empty() && !o.audioPath.ends_with(".wav"))
        error = "--audio: '" + o.audioPath + "' must end in .wav";
    return error.empty();
}

}  // namespace

bool parseSeconds(const std::string& text, double& seconds)
{
    if (text.empty() || text.find_first_not_of("0123456789.") != std::string::npos) return false;
    char* end = nullptr;
    errno = 0;
    double value = std::strtod(text.c_str(), &end);
    if (errno != 0 || *end != '\0' || !std::isfinite(value)) return false;
    seconds = value;
    return true;
}

// The fraction is kept in lowest terms, so 120/2 and 60 run alike.
static bool parseUnreducedRate(const std::string& text, FrameRate& rate)
{
    std::size_t slash = text.find('/');
    if (slash != std::string::npos)
        return parseCount(text.substr(0, slash), maxRateTerm, rate.ticksPerSecond) &&
               parseCount(text.substr(slash + 1), maxRateTerm, rate.ticksPerFrame);
    if (text.find('.') != std::string::npos) return parseDecimalRate(text, rate);
    rate.ticksPerFrame = 1;
    return parseCount(text, maxRateTerm, rate.ticksPerSecond);
}

bool parseOptions(const std::vector<std::string>& args, CaptureOptions& options, std::string& error)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            return true;
        }
        if (arg == "--quiet") {
            options.quiet = true;
            continue;
        }
        std::size_t equals = arg.find('=');
        bool inline_ = arg.rfind("--", 0) == 0 && equals != std::string::npos;
        std::string name = inline_ ? arg.substr(0, equals) : arg;
        if (!inline_ && i + 1 >= args.size()) {
            error = name.rfind("--", 0) == 0 ? name + " needs a value" : "unexpected argument " + name;
            return false;
        }
        std::string value = inline_ ? arg.substr(equals + 1) : args[++i];
        if (!applyOption(name, value, options, error)) return false;
    }
    return checkCombination(options, error);
}

bool parseFrameRate(const std::string& text, FrameRate& rate)
{
    FrameRate parsed;
    if (!parseUnreducedRate(text, parsed)) return false;
    std::int64_t divisor = std::gcd(parsed.ticksPerSecond, parsed.ticksPerFrame);
    rate.ticksPerSecond = parsed.ticksPerSecond / divisor;
    rate.ticksPerFrame = parsed.ticksPerFrame / divisor;
    return true;
}

const char* captureUsage()
{
    return "usage: zwirbelalp-capture [options]\n"
           "Runs the show on a virtual clock, off screen, and records it.\n"
           "  --dir DIR         run in DIR, where stuff.dat is (default: here)\n"
           "  --fps RATE        frames per second: 60, 60000/1001 or 29.97 (default 60)\n"
           "  --seconds S       close the program at S seconds of clock time\n"
           "  --input FILE      timed input events (see the README)\n"
           "  --scale N         render at N x 640 x 480, N = 1..8\n"
           "  --png DIR         write frames as PNG files into DIR, each frame unless\n"
           "    --at T1,T2,...  the frames at which the clock first reaches these times\n"
           "    --every K       every K-th frame\n"
           "  --video FILE      .y4m; .mp4 or .mkv through ffmpeg, with the sound\n"
           "  --audio FILE.wav  the sound, 44100 Hz stereo\n"
           "  --report FILE     frames written, message boxes and the exit code\n"
           "  --quiet           no progress bar\n";
}
