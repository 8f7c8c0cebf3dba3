// The asset driver: before loading, every media file goes from "stuff.dat" into
// the current directory; after loading the files are deleted again.
//
// The program must never overwrite or delete a file it did not write: each media
// file is created anew (never through a symbolic link), a file of the same name
// that is already there is left alone and reported, and deletion passes over every
// name this run did not write.
#include "archive/media_set.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "archive/rarreader.h"
#include "assets/media_manifest.h"
#include "platform/platform.h"

namespace {

constexpr const char* archivePath = "stuff.dat";
constexpr const char* failureText = "Error in Archive stuff.dat";
constexpr const char* failureCaption = "FATAL MARLU";

// Which media files this run has written (and so may delete).
struct MediaSetState {
    bool written[media::count] = {};
};
MediaSetState mediaSet;

void markWritten(const char* path)
{
    for (std::size_t i = 0; i < media::count; ++i)
        if (std::strcmp(media::names[i], path) == 0) mediaSet.written[i] = true;
}

// The user sees the archive error box; the program ends once the loop gets the quit message.
void reportFailure()
{
    platform::messageBox(failureText, failureCaption, platform::Buttons::Ok, platform::Icon::None);
    platform::postQuitMessage(0);
}

// Writes the bytes in one go; a file left incomplete is removed again (it is ours).
bool writeAll(std::FILE* file, const char* path, const std::uint8_t* data, std::uint32_t size)
{
    const bool written = std::fwrite(data, 1, size, file) == size;
    const bool closed = std::fclose(file) == 0;
    if (written && closed) return true;
    std::fprintf(stderr, "zwirbelalp: could not write media file \"%s\": %s\n", path, std::strerror(errno));
    platform::deleteFile(path);
    return false;
}

}  // namespace

void writeMediaFile(const char* path, const std::uint8_t* data, std::uint32_t size)
{
    errno = 0;
    std::FILE* file = platform::createNewFile(path, false);
    if (!file) {
        const bool exists = errno == EEXIST || errno == ELOOP;
        std::fprintf(stderr, "zwirbelalp: media file \"%s\" not written: %s\n", path,
                     exists ? "a file of that name already exists; it is left untouched"
                            : std::strerror(errno));
        reportFailure();
        return;
    }
    if (!data) {
        std::fclose(file);
        platform::deleteFile(path);
        reportFailure();
        return;
    }
    if (writeAll(file, path, data, size))
        markWritten(path);
    else
        reportFailure();
}

void extractMediaFile(const char* name)
{
    std::uint8_t* data = nullptr;
    std::uint32_t size = 0;
    if (extractToMemory(&data, &size, name, archivePath, media::archivePassword)) {
        writeMediaFile(name, data, size);
        std::free(data);
        return;
    }
    reportFailure();
}

void enterArchiveFolder()
{
    if (std::FILE* archive = std::fopen(archivePath, "rb")) {
        std::fclose(archive);
        return;
    }
    const std::string folder = platform::programDirectory();
    if (!folder.empty()) platform::changeDirectory(folder.c_str());
}

// In the manifest's order, both when extracting and when deleting.
void extractMediaSet()
{
    for (const char* name : media::names) extractMediaFile(name);
}

void deleteMediaSet()
{
    for (std::size_t i = 0; i < media::count; ++i) {
        if (!mediaSet.written[i]) continue;
        platform::deleteFile(media::names[i]);
        mediaSet.written[i] = false;
    }
}
