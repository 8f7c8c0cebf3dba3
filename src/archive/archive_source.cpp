// Where the walk reads the archive from: the named file, or an image of it that is
// already in memory. Both behave alike: reads stop at the end, a seek may go past
// it (later reads then find nothing), and only a file can report a read error.
#include "archive/reader_internal.h"

#include <sys/types.h>

#include <algorithm>
#include <cstring>

namespace rarreader {
namespace {

ArchiveSource& source = reader.archive.source;

// Measured once at the start, read from the start afterwards.
std::uint64_t fileLength(std::FILE* file)
{
    const bool measured = fseeko(file, 0, SEEK_END) == 0;
    const off_t length = measured ? ftello(file) : -1;
    std::rewind(file);
    return length > 0 ? std::uint64_t(length) : 0;
}

}  // namespace

bool openSource()
{
    const CallState& call = reader.call;
    source = ArchiveSource{};
    if (call.inMemory) {
        source.image = call.image;
        source.imageSize = call.image ? call.imageSize : 0;
        source.open = true;
        source.size = source.imageSize;
    } else {
        source.file = std::fopen(call.archivePath, "rb");
        source.open = source.file != nullptr;
        source.size = source.open ? fileLength(source.file) : 0;
    }
    return source.open;
}

void closeSource()
{
    if (source.file) std::fclose(source.file);
    source = ArchiveSource{};
}

bool sourceIsOpen() { return source.open; }

std::size_t readSource(std::uint8_t* buffer, std::size_t count)
{
    if (source.file) return std::fread(buffer, 1, count, source.file);
    if (!source.open || source.position >= source.imageSize) return 0;
    const std::size_t got = std::size_t(std::min<std::uint64_t>(count, source.imageSize - source.position));
    std::memcpy(buffer, source.image + source.position, got);
    source.position += got;
    return got;
}

bool sourceFailed() { return source.file && std::ferror(source.file); }

bool seekSource(std::uint64_t position)
{
    if (source.file) return fseeko(source.file, off_t(position), SEEK_SET) == 0;
    source.position = position;
    return source.open;
}

// -1 when the position can't be had.
std::int64_t sourcePosition()
{
    if (source.file) return std::int64_t(ftello(source.file));
    return source.open ? std::int64_t(source.position) : -1;
}

std::uint64_t sourceSize() { return source.size; }

}  // namespace rarreader
