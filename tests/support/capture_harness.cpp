// Running the capture command from tests.
#include "support/capture_harness.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "png_io.h"

extern char** environ;

namespace {

std::vector<std::string> splitTabs(const std::string& line)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

std::string unescape(const std::string& field)
{
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            out += field[i];
            continue;
        }
        char next = field[++i];
        out += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return out;
}

void parseRecord(const std::vector<std::string>& f, CaptureResult& r)
{
    const std::string& kind = f[0];
    if (kind == "png" && f.size() == 4)
        r.pngs.push_back({std::strtoull(f[1].c_str(), nullptr, 10), std::atof(f[2].c_str()), unescape(f[3])});
    else if (kind == "box" && f.size() == 5)
        r.boxes.push_back({unescape(f[1]), unescape(f[2]), f[3], f[4]});
    else if (kind == "frames" && f.size() == 2)
        r.frames = std::strtoull(f[1].c_str(), nullptr, 10);
    else if (kind == "seconds" && f.size() == 2)
        r.seconds = std::atof(f[1].c_str());
    else if (kind == "interrupted" && f.size() == 2)
        r.interrupted = f[1] == "1";
    else if (kind == "exit" && f.size() == 2) {
        r.programExit = std::atoi(f[1].c_str());
        r.reportRead = true;
    }
}

int waitFor(pid_t pid)
{
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void parseCaptureReport(const std::string& text, CaptureResult& result)
{
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) parseRecord(splitTabs(line), result);
}

int startCaptureWith(const std::string& program, const std::vector<std::string>& args,
                     const std::string& workDir)
{
    std::string report = workDir + "/capture-report.txt", log = workDir + "/capture-output.txt";
    std::vector<std::string> all = {program, "--quiet", "--report", report};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    posix_spawn_file_actions_addchdir_np(&actions, workDir.c_str());
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

}  // namespace

std::string CaptureResult::pngAt(double time) const
{
    for (const CapturedPng& png : pngs)
        if (png.time >= time) return png.path;
    return "";
}

RgbaPicture CaptureResult::pictureAt(double time) const
{
    RgbaPicture picture;
    readPngRgba(pngAt(time), picture);  // leaves it empty when there is none
    return picture;
}

std::string captureProgram() { return ZW_CAPTURE_PROGRAM; }
std::string builtArchive() { return ZW_STUFF_DAT; }

std::string captureUnavailable()
{
    namespace fs = std::filesystem;
    if (!fs::exists(captureProgram())) return "the capture tool is not built yet (" + captureProgram() + ")";
    if (!fs::exists(builtArchive())) return "the media set is not packed yet (" + builtArchive() + ")";
    return "";
}

std::string makeTempDir()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/zwirbelalp-test-XXXXXX";
    if (!mkdtemp(pattern.data())) return "";
    return pattern;
}

std::string makeShowDir(const std::string& archive)
{
    std::string dir = makeTempDir();
    writeFile(dir + "/stuff.dat", readFile(archive));
    return dir;
}

int startCapture(const std::vector<std::string>& args, const std::string& workDir)
{
    return startCaptureWith(captureProgram(), args, workDir);
}

CaptureResult finishCapture(int pid, const std::string& workDir)
{
    CaptureResult result;
    if (pid > 0) result.exitCode = waitFor(pid);
    result.output = readFile(workDir + "/capture-output.txt");
    parseCaptureReport(readFile(workDir + "/capture-report.txt"), result);
    return result;
}

CaptureResult runCapture(const std::vector<std::string>& args, const std::string& workDir)
{
    return finishCapture(startCapture(args, workDir), workDir);
}

CaptureResult runCaptureWith(const std::string& program, const std::vector<std::string>& args,
                             const std::string& workDir)
{
    return finishCapture(startCaptureWith(program, args, workDir), workDir);
}

CaptureResult recordMoments(const std::string& program, const std::string& script, const std::string& fps,
                            double seconds, const std::vector<double>& moments)
{
    std::string at;
    for (double t : moments) at += (at.empty() ? "" : ",") + std::to_string(t);
    return runCaptureWith(
        program,
        {"--fps", fps, "--seconds", std::to_string(seconds), "--input", script, "--png", "png", "--at", at},
        makeShowDir());
}

std::string readFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary);
    file << bytes;
}
