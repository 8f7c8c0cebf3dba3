// Video output: a y4m stream into a file, or into ffmpeg's standard input.
#include "tools/capture/video.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "tools/capture/workers.h"
#include "tools/capture/y4m.h"

extern char** environ;

namespace {

constexpr std::size_t wavHeaderBytes = 44;
constexpr std::size_t framesAhead = 4;  // frames that may wait for the writing thread

// Starts argv[0] in its own process group, so that Ctrl+C at the terminal reaches
// only the capture, which then ends the encoder's input cleanly. stdinFd (or -1)
// becomes its standard input; its standard output is discarded.
pid_t spawn(const std::vector<std::string>& args, int stdinFd)
{
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (stdinFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, stdinFd, 0);
    else
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    return pid;
}

bool waitSucceeded(pid_t pid)
{
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool run(const std::vector<std::string>& args)
{
    pid_t pid = spawn(args, -1);
    return pid > 0 && waitSucceeded(pid);
}

long fileSize(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return -1;
    std::fseek(file, 0, SEEK_END);
    long size = std::ftell(file);
    std::fclose(file);
    return size;
}

std::string containerOf(VideoFormat format) { return format == VideoFormat::mp4 ? "mp4" : "matroska"; }

}  // namespace

VideoFormat videoFormatOf(const std::string& path)
{
    if (path.ends_with(".y4m")) return VideoFormat::y4m;
    if (path.ends_with(".mp4")) return VideoFormat::mp4;
    if (path.ends_with(".mkv")) return VideoFormat::mkv;
    return VideoFormat::unknown;
}

bool programAvailable(const char* program) { return run({program, "-version"}); }

VideoOutput::~VideoOutput()
{
    std::string ignored;
    if (stream) finish("", ignored);
}

bool VideoOutput::open(const std::string& file, const FrameRate& rate, int w, int h, std::string& error)
{
    path = file;
    format = videoFormatOf(path);
    width = w;
    height = h;
    if (isEncoded(format)) {
        if (!openEncoder(error)) return false;
    } else if (!(stream = std::fopen(path.c_str(), "wb"))) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    std::string header = y4mHeader(width, height, rate.ticksPerSecond, rate.ticksPerFrame);
    if (std::fwrite(header.data(), 1, header.size(), stream) != header.size()) {
        error = "cannot write " + path;
        return false;
    }
    const std::size_t rgbaBytes = std::size_t(width) * std::size_t(height) * 4;
    writer = std::make_unique<FrameWriter>(
        [this](const std::vector<std::uint8_t>& rgba) { return writeNow(rgba); },
        framesInMemory(framesAhead, rgbaBytes));
    return true;
}

// The encoder writes the pictures alone into a part file; the sound is added when
// the run is over, because only then is the sound file complete.
bool VideoOutput::openEncoder(std::string& error)
{
    if (!programAvailable("ffmpeg")) {
        error = "--video " + path + " needs ffmpeg, which is not installed (.y4m needs nothing)";
        return false;
    }
    partPath = path + ".part";
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        error = std::string("cannot make a pipe: ") + std::strerror(errno);
        return false;
    }
    fcntl(pipeFds[1], F_SETFD, FD_CLOEXEC);
    encoder = spawn({"ffmpeg",
                     "-hide_banner",
                     "-loglevel",
                     "error",
                     "-y",
                     "-f",
                     "yuv4mpegpipe",
                     "-i",
                     "pipe:0",
                     "-c:v",
                     "libx264",
                     "-preset",
                     "veryfast",
                     "-crf",
                     "18",
                     "-pix_fmt",
                     "yuv420p",
                     "-f",
                     containerOf(format),
                     partPath},
                    pipeFds[0]);
    close(pipeFds[0]);
    if (encoder <= 0) {
        close(pipeFds[1]);
        error = "cannot start ffmpeg";
        return false;
    }
    stream = fdopen(pipeFds[1], "wb");
    return stream != nullptr;
}

bool VideoOutput::write(std::vector<std::uint8_t> rgba, std::string& error)
{
    if (writer->push(std::move(rgba))) return true;
    error = writeError();
    return false;
}

// On the writing thread. Every frame is flushed whole, so a run cut short leaves
// whole frames.
bool VideoOutput::writeNow(const std::vector<std::uint8_t>& rgba)
{
    y4mFrame(rgba.data(), width, height, frameBytes);
    return std::fwrite(frameBytes.data(), 1, frameBytes.size(), stream) == frameBytes.size() &&
           std::fflush(stream) == 0;
}

std::string VideoOutput::writeError() const
{
    return isEncoded(format) ? "ffmpeg stopped taking frames for " + path : "cannot write " + path;
}

bool VideoOutput::finish(const std::string& wavPath, std::string& error)
{
    const bool closed = closeStream(error);
    if (!isEncoded(format)) return closed;
    const bool encodedWhole = waitSucceeded(encoder);
    if (!closed) return false;
    if (!encodedWhole) {
        error = "ffmpeg could not encode " + path;
        return false;
    }
    return muxSound(wavPath, error);
}

// The frames still waiting go first; an encoder sees the end of its input.
bool VideoOutput::closeStream(std::string& error)
{
    bool written = !writer || writer->finish();
    writer.reset();
    bool closed = std::fclose(stream) == 0;
    stream = nullptr;
    if (!written)
        error = writeError();
    else if (!closed && !isEncoded(format))
        error = "cannot write " + path;
    return written && (closed || isEncoded(format));
}

// Without any sound (none asked, or the music never started) the pictures alone
// make the video.
bool VideoOutput::muxSound(const std::string& wavPath, std::string& error)
{
    long soundBytes = wavPath.empty() ? -1 : fileSize(wavPath);
    if (soundBytes <= long(wavHeaderBytes)) {
        if (std::rename(partPath.c_str(), path.c_str()) == 0) return true;
        error = "cannot rename " + partPath + " to " + path;
        return false;
    }
    std::string codec = format == VideoFormat::mp4 ? "aac" : "flac";
    bool muxed = run({"ffmpeg", "-hide_banner", "-loglevel", "error", "-y",   "-f",  containerOf(format),
                      "-i",     partPath,       "-i",        wavPath, "-map", "0:v", "-map",
                      "1:a",    "-c:v",         "copy",      "-c:a",  codec,  "-f",  containerOf(format),
                      path});
    std::remove(partPath.c_str());
    if (!muxed) error = "ffmpeg could not add the sound to " + path;
    return muxed;
}
