// The end-to-end harness around zwirbelalp-capture.
#include "capture_run.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "assets/media_manifest.h"
#include "support/capture_harness.h"

namespace fs = std::filesystem;

namespace {

bool readPng(const std::string& path, Frame& frame)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    // Read with alpha and drop it: the frame's alpha channel is whatever blending
    // left there, not part of the picture the viewer sees.
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> rgba(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    frame.width = int(image.width);
    frame.height = int(image.height);
    frame.rgb.resize(std::size_t(frame.width) * frame.height * 3);
    for (std::size_t i = 0, o = 0; i < rgba.size(); i += 4, o += 3) {
        frame.rgb[o] = rgba[i];
        frame.rgb[o + 1] = rgba[i + 1];
        frame.rgb[o + 2] = rgba[i + 2];
    }
    return true;
}

int millis(double seconds) { return int(std::lround(seconds * 1000.0)); }

std::string timeList(const std::vector<double>& times)
{
    std::string list;
    for (double t : times) {
        char text[32];
        std::snprintf(text, sizeof text, "%s%.3f", list.empty() ? "" : ",", t);
        list += text;
    }
    return list;
}

// What the run gave back: frames by the time they were asked for (the report
// gives the clock time reached, which is at or just after it).
void takeResult(const CaptureResult& result, const std::vector<double>& at, CaptureRun& run)
{
    for (std::size_t i = 0; i < result.pngs.size() && i < at.size(); ++i) {
        Frame frame;
        if (readPng(result.pngs[i].path, frame)) run.frames[millis(at[i])] = frame;
    }
    for (const CapturedBox& box : result.boxes) run.boxes.push_back(box.caption + ": " + box.text);
    run.lastSeconds = result.seconds;
    run.exitCode = result.programExit;
    run.output = result.output;
}

}  // namespace

Rgb Frame::at(int column, int row) const
{
    const std::uint8_t* p = &rgb[(std::size_t(row) * width + column) * 3];
    return Rgb{p[0], p[1], p[2]};
}

const Frame& CaptureRun::frame(double seconds) const
{
    static const Frame none;
    auto it = frames.find(millis(seconds));
    return it == frames.end() ? none : it->second;
}

std::string captureUnavailable()
{
    if (!fs::exists(captureProgram())) return "the capture tool is not built yet (" + captureProgram() + ")";
    if (!fs::exists(builtArchive())) return "the media set is not packed yet (" + builtArchive() + ")";
    return "";
}

CaptureRun runCapture(const CaptureRequest& request)
{
    CaptureRun run;
    const fs::path dir = fs::path(ZW_E2E_WORK_DIR) / request.name;
    std::error_code ec;
    fs::remove_all(dir, ec);
    fs::create_directories(dir / "png", ec);
    fs::copy_file(request.archive.empty() ? builtArchive() : request.archive, dir / "stuff.dat", ec);
    if (ec) {
        run.error = "cannot prepare " + dir.string() + ": " + ec.message();
        return run;
    }
    std::vector<std::string> args = {"--fps", request.fps};
    if (request.seconds >= 0) args.insert(args.end(), {"--seconds", std::to_string(request.seconds)});
    if (!request.inputFile.empty())
        args.insert(args.end(), {"--input", std::string(ZW_SHOW_TEST_DATA) + "/" + request.inputFile});
    if (!request.at.empty())
        args.insert(args.end(), {"--png", (dir / "png").string(), "--at", timeList(request.at)});
    const CaptureResult result = runCapture(args, dir.string());
    takeResult(result, request.at, run);
    run.ran = result.exitCode != -1 && run.exitCode != -1;
    if (!run.ran) run.error = "capture failed; see " + dir.string() + "/capture-output.txt";
    return run;
}

std::string packVariant(const std::string& name, const std::vector<std::string>& missing,
                        const std::string& invitation)
{
    if (!fs::exists(ZW_RARPACK) || !fs::exists(fs::path(ZW_MEDIA_DIR) / "marlu.it")) return "";
    const fs::path dir = fs::path(ZW_E2E_WORK_DIR) / (name + "-media");
    std::error_code ec;
    fs::remove_all(dir, ec);
    fs::create_directories(dir, ec);
    std::string names;
    for (const char* member : media::names) {
        if (std::find(missing.begin(), missing.end(), member) != missing.end()) continue;
        if (invitation.empty() || std::string(member) != "invitation.txt")
            fs::copy_file(fs::path(ZW_MEDIA_DIR) / member, dir / member, ec);
        else
            std::ofstream(dir / member, std::ios::binary) << invitation;
        names += std::string(" ") + member;
    }
    const std::string command = "cd '" + dir.string() + "' && '" + ZW_RARPACK + "' --quiet --password " +
                                media::archivePassword + " stuff.dat" + names + " > /dev/null 2>&1";
    if (ec || std::system(command.c_str()) != 0) return "";
    return (dir / "stuff.dat").string();
}

int colourDistance(Rgb a, Rgb b)
{
    int d = std::abs(a.r - b.r);
    d = std::max(d, std::abs(a.g - b.g));
    return std::max(d, std::abs(a.b - b.b));
}

double changedShare(const Frame& a, const Frame& b, int x0, int y0, int x1, int y1, int threshold)
{
    if (a.rgb.empty() || b.rgb.empty()) return -1.0;
    int changed = 0, total = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x, ++total) changed += colourDistance(a.at(x, y), b.at(x, y)) > threshold;
    return total ? double(changed) / total : 0.0;
}

int bestVerticalShift(const Frame& a, const Frame& b, int x0, int y0, int x1, int y1, int range,
                      double& error)
{
    int best = 0;
    error = 1e9;
    if (a.rgb.empty() || b.rgb.empty()) return best;
    for (int shift = -range; shift <= range; ++shift) {
        double sum = 0;
        int count = 0;
        for (int y = y0; y < y1; ++y) {
            const int yb = y - shift;
            if (yb < 0 || yb >= b.height) continue;
            for (int x = x0; x < x1; ++x, ++count) {
                const Rgb p = a.at(x, y), q = b.at(x, yb);
                sum += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b);
            }
        }
        const double mean = count ? sum / count : 1e9;
        if (mean < error) {
            error = mean;
            best = shift;
        }
    }
    return best;
}

double meanDifference(const Frame& a, const Frame& b, int x0, int y0, int x1, int y1)
{
    if (a.rgb.empty() || b.rgb.empty()) return -1.0;
    double sum = 0;
    int count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x, ++count) {
            const Rgb p = a.at(x, y), q = b.at(x, y);
            sum += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b);
        }
    return count ? sum / (3.0 * count) : 0.0;
}

double shareOf(const Frame& f, int x0, int y0, int x1, int y1, bool (*test)(Rgb))
{
    if (f.rgb.empty()) return -1.0;
    int hits = 0, count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x, ++count) hits += test(f.at(x, y));
    return count ? double(hits) / count : 0.0;
}
