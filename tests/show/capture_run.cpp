// The end-to-end harness around zwirbelalp-capture.
#include "capture_run.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace fs = std::filesystem;

namespace {

bool readPng(const std::string& path, Frame& frame)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return false;
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

std::vector<std::string> fields(const std::string& line)
{
    std::vector<std::string> out;
    std::stringstream stream(line);
    std::string field;
    while (std::getline(stream, field, '\t'))
        out.push_back(field);
    return out;
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

// Reads the report: frames by the time they were asked for (the report gives the
// clock time reached, which is at or just after it).
void readReport(const std::string& path, const std::vector<double>& at, CaptureRun& run)
{
    std::ifstream report(path);
    std::string line;
    std::size_t next = 0;
    while (std::getline(report, line)) {
        const std::vector<std::string> f = fields(line);
        if (f.size() >= 4 && f[0] == "png" && next < at.size()) {
            Frame frame;
            if (readPng(f[3], frame))
                run.frames[millis(at[next])] = frame;
            ++next;
        } else if (f.size() >= 3 && f[0] == "box") {
            run.boxes.push_back(f[1] + ": " + f[2]);
        } else if (f.size() >= 2 && f[0] == "seconds") {
            run.lastSeconds = std::atof(f[1].c_str());
        } else if (f.size() >= 2 && f[0] == "exit") {
            run.exitCode = std::atoi(f[1].c_str());
        }
    }
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
    if (!fs::exists(ZW_CAPTURE_TOOL))
        return "the capture tool is not built yet (" ZW_CAPTURE_TOOL ")";
    if (!fs::exists(ZW_STUFF_DAT))
        return "the media set is not packed yet (" ZW_STUFF_DAT ")";
    return "";
}

CaptureRun runCapture(const CaptureRequest& request)
{
    CaptureRun run;
    const fs::path dir = fs::path(ZW_E2E_WORK_DIR) / request.name;
    std::error_code ec;
    fs::remove_all(dir, ec);
    fs::create_directories(dir / "png", ec);
    fs::copy_file(request.archive.empty() ? std::string(ZW_STUFF_DAT) : request.archive,
                  dir / "stuff.dat", ec);
    if (ec) {
        run.error = "cannot prepare " + dir.string() + ": " + ec.message();
        return run;
    }
    std::string command = std::string("'") + ZW_CAPTURE_TOOL + "' --quiet --dir '" +
                          dir.string() + "' --fps " + request.fps + " --report '" +
                          (dir / "report.txt").string() + "'";
    if (request.seconds >= 0)
        command += " --seconds " + std::to_string(request.seconds);
    if (!request.inputFile.empty())
        command += std::string(" --input '") + ZW_SHOW_TEST_DATA + "/" + request.inputFile + "'";
    if (!request.at.empty())
        command += " --png '" + (dir / "png").string() + "' --at " + timeList(request.at);
    command += " > '" + (dir / "output.txt").string() + "' 2>&1";
    const int status = std::system(command.c_str());
    readReport((dir / "report.txt").string(), request.at, run);
    std::ifstream output(dir / "output.txt");
    run.output.assign(std::istreambuf_iterator<char>(output), std::istreambuf_iterator<char>());
    run.ran = status != -1 && run.exitCode != -1;
    if (!run.ran)
        run.error = "capture failed; see " + (dir / "output.txt").string();
    return run;
}

// The media list in the driver's order; the packer stores the members in it.
const char* const mediaNames[] = {
    "marlu.it", "creds.bmp", "credsm.bmp", "zweitwiese.bmp", "zweitwiesem.bmp", "feil.bmp",
    "feilm.bmp", "font.bmp", "fontm.bmp", "fenno.bmp", "fennom.bmp", "vogeltot.bmp",
    "vogeltotm.bmp", "cross.bmp", "crossm.bmp", "vogelfl1.bmp", "vogelfl1m.bmp", "vogelfl2.bmp",
    "vogelfl2m.bmp", "vogelfl3.bmp", "vogelfl3m.bmp", "cursor.bmp", "cursorm.bmp", "qzlogo.bmp",
    "qzlogom.bmp", "gras.bmp", "grasm.bmp", "berg2.bmp", "berg2m.bmp", "berg1.bmp", "berg1m.bmp",
    "marlu256.bmp", "marlu256m.bmp", "invitation.txt"};

std::string packVariant(const std::string& name, const std::vector<std::string>& missing,
                        const std::string& invitation)
{
    if (!fs::exists(ZW_RARPACK) || !fs::exists(fs::path(ZW_MEDIA_DIR) / "marlu.it"))
        return "";
    const fs::path dir = fs::path(ZW_E2E_WORK_DIR) / (name + "-media");
    std::error_code ec;
    fs::remove_all(dir, ec);
    fs::create_directories(dir, ec);
    std::string names;
    for (const char* member : mediaNames) {
        if (std::find(missing.begin(), missing.end(), member) != missing.end())
            continue;
        if (invitation.empty() || std::string(member) != "invitation.txt")
            fs::copy_file(fs::path(ZW_MEDIA_DIR) / member, dir / member, ec);
        else
            std::ofstream(dir / member, std::ios::binary) << invitation;
        names += std::string(" ") + member;
    }
    const std::string command = "cd '" + dir.string() + "' && '" + ZW_RARPACK +
                                "' --quiet --password gletscha stuff.dat" + names + " > /dev/null 2>&1";
    if (ec || std::system(command.c_str()) != 0)
        return "";
    return (dir / "stuff.dat").string();
}

int colourDistance(Rgb a, Rgb b)
{
    int d = std::abs(a.r - b.r);
    d = std::max(d, std::abs(a.g - b.g));
    return std::max(d, std::abs(a.b - b.b));
}

double changedShare(const Frame& a, const Frame& b, int x0, int y0, int x1, int y1,
                    int threshold)
{
    if (a.rgb.empty() || b.rgb.empty())
        return -1.0;
    int changed = 0, total = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x, ++total)
            changed += colourDistance(a.at(x, y), b.at(x, y)) > threshold;
    return total ? double(changed) / total : 0.0;
}

int bestVerticalShift(const Frame& a, const Frame& b, int x0, int y0, int x1, int y1,
                      int range, double& error)
{
    int best = 0;
    error = 1e9;
    if (a.rgb.empty() || b.rgb.empty())
        return best;
    for (int shift = -range; shift <= range; ++shift) {
        double sum = 0;
        int count = 0;
        for (int y = y0; y < y1; ++y) {
            const int yb = y - shift;
            if (yb < 0 || yb >= b.height)
                continue;
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
    if (a.rgb.empty() || b.rgb.empty())
        return -1.0;
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
    if (f.rgb.empty())
        return -1.0;
    int hits = 0, count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x, ++count)
            hits += test(f.at(x, y));
    return count ? double(hits) / count : 0.0;
}
