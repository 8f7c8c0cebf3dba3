// The reader's entry point: one call takes one file out of an archive. It owns the
// reader's process-wide state, starts the debug log on the first call, and leaves
// the archive closed, the window released and the password wiped when it returns.
#include "archive/rarreader.h"

#include <cassert>
#include <cstdlib>
#include <cstring>
#include <string>

#include "archive/reader_internal.h"
#include "platform/platform.h"

namespace rarreader {

// The one reader state; its start values are the member initialisers of its parts.
ReaderState reader;

namespace {

// The reader's state belongs to one call at a time: a call from inside a call (say,
// through the log) would pull it from under the running one.
class OneCallAtATime {
public:
    OneCallAtATime()
    {
        assert(!inCall && "extractToMemory is not re-entrant: one call at a time");
        inCall = true;
    }
    ~OneCallAtATime() { inCall = false; }
    OneCallAtATime(const OneCallAtATime&) = delete;
    OneCallAtATime& operator=(const OneCallAtATime&) = delete;

private:
    static inline bool inCall = false;
};

// Copies a caller's text into a reader buffer; false when it does not fit.
bool copyIn(char* buffer, std::size_t size, const char* text)
{
    const std::size_t length = strnlen(text, size);
    if (length >= size) return false;
    std::memcpy(buffer, text, length + 1);
    return true;
}

bool takeInputs(const char* fileName, const char* archivePath, const char* password)
{
    CallState& call = reader.call;
    std::memset(call.password, 0, sizeof call.password);
    return copyIn(call.wantedName, sizeof call.wantedName, fileName) &&
           copyIn(call.archivePath, sizeof call.archivePath, archivePath) &&
           copyIn(call.password, sizeof call.password, password ? password : "");
}

// Whatever the run left behind: the password, the source, the window. A call on
// a memory image leaves the window to the next call: those come in bulk (the
// fuzz harnesses), and a 1 MiB allocation per call would cost more than the call.
void endRun()
{
    volatile char* password = reader.call.password;
    for (std::size_t i = 0; i < sizeof reader.call.password; ++i) password[i] = 0;
    ArchiveState& archive = reader.archive;
    closeSource();
    if (reader.call.inMemory) return;
    std::free(archive.window);
    archive.window = nullptr;
}

// The failure line names the bytes the call had produced before it gave up.
void reportFailure(ExtractFailure failure, const char* fileName, std::uint32_t* sizeOut)
{
    reader.call.lastFailure = failure;
    std::free(reader.archive.output);
    reader.archive.output = nullptr;
    const std::uint32_t produced = *sizeOut;
    *sizeOut = 0;
    RAR_LOG("%s>%s<%s%u Bytes%s", "Error - couldn't extract ", fileName, " and allocated ",
            unsigned(produced), " of unused memory!");
}

// One call, from the archive at archivePath or from the image in the call state.
int runCall(std::uint8_t** dataOut, std::uint32_t* sizeOut, const char* fileName, const char* archivePath,
            const char* password)
{
    const OneCallAtATime guard;
    if (reader.call.firstCall) {
        reader.call.firstCall = false;
        DebugLog::start((platform::tempDirectory() + "/debug_rarreader.txt").c_str());
    }
    buildCrcTable();
    if (!dataOut || !sizeOut || !fileName || !archivePath) {
        reader.call.lastFailure =
            RAR_FAIL(ExtractFailure::badCall, "Error - extractToMemory called without a "
                                              "name, an archive or a place for the result.");
        return 0;
    }
    *dataOut = nullptr;
    *sizeOut = 0;
    reader.archive.output = nullptr;
    reader.archive.sizeVar = sizeOut;
    RAR_LOG("Extracting >%s< from >%s< (password is >%s<)...", fileName, archivePath,
            password ? password : "");
    const ExtractFailure failure =
        takeInputs(fileName, archivePath, password)
            ? extractFromArchive()
            : RAR_FAIL(ExtractFailure::badCall, "Error - file name, archive path or password too long.");
    endRun();
    if (failure == ExtractFailure::none)
        RAR_LOG("Extracted %u Bytes.", unsigned(*sizeOut));
    else
        reportFailure(failure, fileName, sizeOut);
    *dataOut = reader.archive.output;
    reader.archive.output = nullptr;
    return failure == ExtractFailure::none ? 1 : 0;
}

}  // namespace

int extractFromMemory(std::uint8_t** dataOut, std::uint32_t* sizeOut, const char* fileName,
                      const std::uint8_t* image, std::size_t imageSize, const char* password)
{
    CallState& call = reader.call;
    call.inMemory = true;
    call.image = image;
    call.imageSize = imageSize;
    const int result = runCall(dataOut, sizeOut, fileName, "(memory)", password);
    call.inMemory = false;
    call.image = nullptr;
    call.imageSize = 0;
    return result;
}

}  // namespace rarreader

int extractToMemory(std::uint8_t** dataOut, std::uint32_t* sizeOut, const char* fileName,
                    const char* archivePath, const char* password)
{
    return rarreader::runCall(dataOut, sizeOut, fileName, archivePath, password);
}

const char* lastReaderMessage() { return rarreader::reader.log.lastMessage; }

ExtractFailure lastExtractFailure() { return rarreader::reader.call.lastFailure; }

// A run that ends by walking past the last block logs nothing of its own: its
// words are made here.
const char* lastFailureReason()
{
    if (rarreader::reader.call.lastFailure == ExtractFailure::notFound) return "not found in the archive";
    return rarreader::reader.log.failureReason;
}
