// The reader's debug log: a plain-text trace of every call, one time-stamped entry
// per event, naming the source line that wrote it. It never shows anything and
// never makes an extraction fail; when the file can't be had, the reader works the same.
//
// The log holds the password in clear, so the platform keeps the file the user's
// alone, never opens it through a symbolic link, and reuses an existing file only
// when it is a plain file of the user's. Every entry opens, appends and closes, so the
// file is complete after each line.
#include "archive/reader_internal.h"
#include "platform/platform.h"

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

}  // namespace

// Empties the log and writes its banner; when that fails the log stays off for good.
void DebugLog::start(const char* path)
{
    logState.startTick = tickCount();
    std::snprintf(logState.path, sizeof logState.path, "%s", path);
    std::FILE* file = platform::openPrivateFile(logState.path, true);
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
    std::FILE* file = platform::openPrivateFile(logState.path, false);
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

ExtractFailure logFailure(ExtractFailure failure, const char* sourceFile, unsigned line, const char* format,
                          ...)
{
    std::va_list args;
    va_start(args, format);
    std::vsnprintf(logState.failureReason, sizeof logState.failureReason, format, args);
    va_end(args);
    DebugLog::write(logState.failureReason, sourceFile, line);
    return failure;
}

}  // namespace rarreader
