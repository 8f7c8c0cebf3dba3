// The reader's debug log: a plain-text trace of every call, one time-stamped entry
// per event, naming the source line that wrote it. It never shows anything and
// never makes an extraction fail; when the file can't be had, the reader works the same.
//
// The log holds the password in clear, so the file is the user's alone (0600), is
// never opened through a symbolic link, and an existing file is only reused when it
// is a regular file owned by the user. Every entry opens, appends and closes, so the
// file is complete after each line.
#include "archive/reader_internal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdarg>

namespace rarreader {
namespace {

LogState& logState = reader.log;

std::uint32_t tickCount()
{
    using namespace std::chrono;
    return std::uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// Opens the log file for writing without following a link; refuses anything but
// a regular file of our own with no other names, and keeps it private.
std::FILE* openLog(const char* path, bool truncate)
{
    const int fd = ::open(path, O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | (truncate ? 0 : O_APPEND), 0600);
    if (fd < 0) return nullptr;
    struct stat info;
    const bool ours = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_nlink == 1 &&
                      info.st_uid == ::geteuid();
    if (!ours || (truncate && (::fchmod(fd, 0600) != 0 || ::ftruncate(fd, 0) != 0))) {
        ::close(fd);
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, truncate ? "w" : "a");
    if (!file) ::close(fd);
    return file;
}

}  // namespace

// Empties the log and writes its banner; when that fails the log stays off for good.
void DebugLog::start(const char* path)
{
    logState.startTick = tickCount();
    std::snprintf(logState.path, sizeof logState.path, "%s", path);
    std::FILE* file = openLog(logState.path, true);
    if (!file) return;
    logState.enabled = true;
    std::fprintf(file, "Debug log of Kobold's RAR reader\n");
    std::fprintf(file, "~^~~~~~~~~~~~~~~~~~~~~~~~~~~~~^~\n");
    std::fprintf(file, "(executable compiled on %s at %s)\n\n", __DATE__, __TIME__);
    std::fclose(file);
}

// One entry: the milliseconds since the start, the source line, and the message
// on a line of its own. The message is also kept for lastReaderMessage().
void DebugLog::write(const char* message, const char* sourceFile, unsigned line)
{
    std::snprintf(logState.lastMessage, sizeof logState.lastMessage, "%s", message);
    if (!logState.enabled) return;
    std::FILE* file = openLog(logState.path, false);
    if (!file) return;
    const std::uint32_t elapsed = tickCount() - logState.startTick;
    std::fprintf(file, " %8u ms (line %u in %s):\n              - %s\n", unsigned(elapsed), line, sourceFile,
                 message);
    std::fclose(file);
}

void logMessage(const char* sourceFile, unsigned line, const char* format, ...)
{
    char message[messageSize];
    std::va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    DebugLog::write(message, sourceFile, line);
}

ExtractFailure logFailure(ExtractFailure failure, const char* sourceFile, unsigned line, const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    std::vsnprintf(logState.failureReason, sizeof logState.failureReason, format, args);
    va_end(args);
    DebugLog::write(logState.failureReason, sourceFile, line);
    return failure;
}

}  // namespace rarreader
