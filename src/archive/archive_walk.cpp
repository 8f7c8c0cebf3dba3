// The archive walk: recognise the archive, walk its blocks to the wanted file,
// produce that file (stored copy or decompression) and check its CRC-32.
//
// Format notes:
// - All fields are little-endian. A 7-byte marker, a 13-byte main header (flag
//   0x0008: solid), then blocks that start with CRC (2), type (1), flags (2) and
//   header size (2); flag 0x8000 adds a 32-bit data size at offset 7.
// - A file header (type 0x74) has 32 fixed bytes, then the name, then perhaps more
//   (a file comment, extended times); the file's packed data follow the header.
//   Unpack versions 13..20 are accepted; method 0x30 is stored.
// - In a solid archive every file up to the wanted one is decoded, since the files
//   form one stream; in a normal archive the files ahead are skipped by seeking.
// - Sizes in a damaged archive may lie: the walk only ever moves forward, reads no
//   more than is there, and never writes beyond the output buffer.
#include "archive/reader_internal.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

namespace rarreader {
namespace {

ArchiveState& archive = reader.archive;

using rarformat::blockHeadSize;
using rarformat::fileHeaderSize;
using rarformat::mainHeaderSize;
using rarformat::markerSize;
using rarformat::typeSubBlock;
// The output buffer starts at this size, or at what the packed data the archive
// really holds would make at a likely expansion, and doubles as bytes arrive: a
// damaged archive may declare sizes far beyond what its data could make.
constexpr std::uint32_t firstOutputAllocation = 64 * 1024;
constexpr std::uint64_t likelyExpansion = 8;

// The marker, then the main header. The old format and unknown markers are named
// in the log; the caller adds "Not a RAR file".
bool recogniseArchive()
{
    std::uint8_t marker[markerSize];
    if (readSource(marker, markerSize) != markerSize) return false;
    if (std::memcmp(marker, oldMarker, sizeof oldMarker) == 0) {
        RAR_LOG("Attention: format as OLD detected! Can't handel archive!");
        return false;
    }
    if (std::memcmp(marker, rarMarker, markerSize) != 0 &&
        std::memcmp(marker, koboldMarker, markerSize) != 0) {
        RAR_LOG("%s%s%s%s", "unknown archive type (only plain RAR ", "supported (normal and solid ",
                "archives), SFX and Volumes ", "are NOT supported!)");
        return false;
    }
    std::uint8_t bytes[rarformat::mainHeaderSize];
    if (readSource(bytes, sizeof bytes) != sizeof bytes) return false;
    BlockHead head;
    rarformat::decodeBlockHead(bytes, head);
    archive.mainFlags = head.flags;
    archive.mainHeadSize = head.headSize;
    return true;
}

// Reads the name behind the fixed part (cut to 259 bytes) and finishes the
// header CRC over it; a mismatch is only logged.
std::size_t readFileName()
{
    FileHeader& f = archive.file;
    const std::size_t wanted = std::min<std::size_t>(f.nameSize, nameBufferSize - 1);
    const std::size_t got = readSource(reinterpret_cast<std::uint8_t*>(f.name), wanted);
    f.name[got] = 0;
    archive.headerCrc = crc32Update(archive.headerCrc, reinterpret_cast<const std::uint8_t*>(f.name), got);
    if ((~archive.headerCrc & 0xFFFF) != f.head.crc) RAR_LOG("file header broken");
    return got;
}

// Reads one block head at the current position; 0 when nothing came. `broken` is
// set for a head whose size can't be right: the walk ends there.
std::size_t readBlockHead(bool& broken)
{
    std::uint8_t bytes[fileHeaderSize] = {};
    const std::int64_t start = sourcePosition();
    archive.blockStart = std::uint64_t(std::max<std::int64_t>(start, 0));
    const std::size_t got = start < 0 ? 0 : readSource(bytes, fileHeaderSize);
    rarformat::decodeFileHeader(bytes, archive.file);
    archive.headerCrc = crc32Update(0xFFFFFFFF, bytes + 2, fileHeaderSize - 2);
    const BlockHead& h = archive.file.head;
    broken = got > 0 && h.headSize < blockHeadSize;
    archive.nextBlock = archive.blockStart + h.headSize + ((h.flags & flagHasData) ? h.dataSize : 0);
    return got;
}

// Walks forward to the next file header or sub-block; other blocks are passed
// over. Returns the header bytes read (with the name), or 0 when the walk ends.
std::size_t nextFileHeader()
{
    const FileHeader saved = archive.file;
    std::size_t got = 0;
    for (;;) {
        bool broken = false;
        got = readBlockHead(broken);
        if (broken) return 0;
        const std::uint8_t type = archive.file.head.type;
        if (got == 0 || type == typeFile || type == typeSubBlock) break;
        if (!seekSource(archive.nextBlock)) return 0;
    }
    archive.lastBlock = archive.file.head;
    if (got > 0 && archive.lastBlock.type == typeFile) return got + readFileName();
    archive.file = saved;
    seekSource(archive.blockStart);
    return got;
}

// Packed bytes the current file can have: its packed size, as far as the archive
// holds them.
std::uint64_t packedBytesThere()
{
    const std::uint64_t dataStart = archive.blockStart + archive.file.head.headSize;
    const std::uint64_t there = sourceSize() > dataStart ? sourceSize() - dataStart : 0;
    return std::min<std::uint64_t>(archive.file.packSize, there);
}

// The wanted file's buffer, refused when its size is beyond what the reader hands
// out. It starts at what its packed bytes suggest and grows as bytes arrive.
ExtractFailure allocateOutput()
{
    const std::uint32_t size = archive.file.unpSize;
    const std::uint64_t likely =
        std::max(packedBytesThere() * likelyExpansion, std::uint64_t(firstOutputAllocation));
    const std::uint32_t first = std::max(std::uint32_t(std::min<std::uint64_t>(size, likely)), 1u);
    archive.output = size <= maxUnpackedSize ? static_cast<std::uint8_t*>(std::malloc(first)) : nullptr;
    archive.outputSize = size;
    archive.outputAllocated = archive.output ? first : 0;
    archive.outputCrc = 0xFFFFFFFF;
    *archive.sizeVar = 0;
    if (archive.output) return ExtractFailure::none;
    return RAR_FAIL(ExtractFailure::noMemory, "can't allocate memory for the file decompression");
}

// Room for `total` bytes, at most the file's size: the allocation doubles.
bool reserveOutput(std::uint64_t total)
{
    if (total <= archive.outputAllocated) return true;
    std::uint64_t grown = archive.outputAllocated;
    while (grown < total) grown *= 2;
    grown = std::min<std::uint64_t>(grown, archive.outputSize);
    auto* bigger = static_cast<std::uint8_t*>(std::realloc(archive.output, std::size_t(grown)));
    if (!bigger) return false;
    archive.output = bigger;
    archive.outputAllocated = std::uint32_t(grown);
    return true;
}

// A stored file's packed data are its bytes, padded to whole cipher blocks when
// enciphered (the old cipher pads nothing). Any other size is a damaged header.
ExtractFailure checkStoredSizes()
{
    const FileHeader& f = archive.file;
    const bool padded = (f.head.flags & flagEncrypted) && f.unpVer >= 20;
    const std::uint64_t expected = padded ? (std::uint64_t(f.unpSize) + 15) / 16 * 16 : f.unpSize;
    if (f.packSize == expected) return ExtractFailure::none;
    return RAR_FAIL(ExtractFailure::damaged, "Stored file's packed size %u doesn't match its size %u!",
                    unsigned(f.packSize), unsigned(f.unpSize));
}

// A stored file is read in whole cipher blocks through a bounce buffer, so the
// last, partial block is deciphered from all of its 16 bytes and only the file's
// own bytes reach the output.
void readStoredFile()
{
    std::uint8_t chunk[inBufferSize];
    const std::uint32_t size = archive.outputSize;
    std::uint64_t toRead = reader.crypto.cipherVersion ? (std::uint64_t(size) + 15) / 16 * 16 : size;
    while (toRead > 0) {
        const long got = readPacked(chunk, std::size_t(std::min<std::uint64_t>(toRead, sizeof chunk)));
        if (got < 0) {
            RAR_LOG("Read error of stored file!");
            return;
        }
        if (got == 0) return;
        const std::uint32_t take = std::min<std::uint32_t>(std::uint32_t(got), size - *archive.sizeVar);
        if (!appendOutput(chunk, take)) return;
        toRead -= std::uint64_t(got);
    }
}

// The CRC runs along as bytes are placed in the output (appendOutput), while they
// are in the cache. A file that came out short fails at once: its missing bytes
// were never produced.
ExtractFailure checkFileCrc()
{
    if (*archive.sizeVar == archive.outputSize && ~archive.outputCrc == archive.file.fileCrc)
        return ExtractFailure::none;
    return RAR_FAIL(ExtractFailure::damaged, "CRC32 error - file couldn't be decompressed correctly!");
}

// The window, taken when the call first decodes: a call that only copies stored
// bytes or fails in the headers never pays for it. Fresh pages come zeroed; later,
// a fresh stream clears what streams before it wrote.
ExtractFailure holdWindow()
{
    if (archive.window) return ExtractFailure::none;
    archive.window = static_cast<std::uint8_t*>(std::calloc(windowSize, 1));
    reader.unpack.windowDirty = 0;
    if (archive.window) return ExtractFailure::none;
    return RAR_FAIL(ExtractFailure::noMemory, "Can't allocate memory for decompression!");
}

// Keys, packed byte count and the data of one file (wanted, or ahead in a solid stream).
ExtractFailure processFileData()
{
    const FileHeader& f = archive.file;
    if (f.unpVer < 13 || f.unpVer > 20)
        return RAR_FAIL(ExtractFailure::unknownMethod, "unknown compression method");
    const char* password = reader.call.password;
    reader.crypto.cipherVersion = (password[0] && (f.head.flags & flagEncrypted)) ? f.unpVer : 0;
    if (reader.crypto.cipherVersion) initCipher(password);
    reader.crypto.packedLeft = f.packSize;
    // The data follow the whole header: a header may carry more than its name
    // (a file comment, extended times), which must not be read as data.
    seekSource(archive.blockStart + f.head.headSize);
    if (f.method != methodStored) {
        const ExtractFailure failure = holdWindow();
        if (failure != ExtractFailure::none) return failure;
        decompressFile(archive.window);
    } else if (archive.fileFound) {
        const ExtractFailure failure = checkStoredSizes();
        if (failure != ExtractFailure::none) return failure;
        readStoredFile();
    }
    return archive.output ? checkFileCrc() : ExtractFailure::none;
}

// One file header met on the walk: match its name, produce its data when they are
// wanted (or ahead in a solid stream), move on to the next block.
ExtractFailure visitFile(bool solid)
{
    if (archive.lastBlock.type == typeSubBlock)
        return RAR_FAIL(ExtractFailure::subBlock, "Sorry, sub-headers not supported.");
    archive.fileFound = namesMatch(reader.call.wantedName, archive.file.name);
    ExtractFailure failure = archive.fileFound ? allocateOutput() : ExtractFailure::none;
    if (failure == ExtractFailure::none && (solid || archive.fileFound)) failure = processFileData();
    if (failure == ExtractFailure::none && sourceIsOpen()) seekSource(archive.nextBlock);
    return failure;
}

// From the first file header on, until the wanted file is produced, a failure, or
// the end of the walk, which means the name is not in the archive.
ExtractFailure walkToWantedFile()
{
    const bool solid = (archive.mainFlags & mainFlagSolid) != 0;
    while (nextFileHeader() != 0) {
        const ExtractFailure failure = visitFile(solid);
        if (failure != ExtractFailure::none || archive.fileFound) return failure;
    }
    return ExtractFailure::notFound;
}

}  // namespace

// Names are equal when they differ only in letter case or in their path
// separators ('\\', '/' and '_' all count alike).
bool namesMatch(const char* a, const char* b)
{
    char x[wantedNameSize], y[wantedNameSize];
    std::snprintf(x, sizeof x, "%s", a);
    std::snprintf(y, sizeof y, "%s", b);
    for (char* s : {x, y}) {
        for (; *s; ++s) {
            if (*s == '\\' || *s == '/') *s = '_';
            *s = char(std::toupper(static_cast<unsigned char>(*s)));
        }
    }
    return std::strcmp(x, y) == 0;
}

// One extraction run: open, recognise, walk, release.
ExtractFailure extractFromArchive()
{
    archive.fileFound = false;
    reader.unpack.streamStarted = false;
    if (!openSource()) return RAR_FAIL(ExtractFailure::cannotOpen, "Error opening file.");
    if (!recogniseArchive()) {
        closeSource();
        return RAR_FAIL(ExtractFailure::notRar, "Not a RAR file");
    }
    // Whatever the main header carries beyond its 13 bytes (a comment) is passed over.
    if (archive.mainHeadSize > mainHeaderSize) seekSource(markerSize + std::uint64_t(archive.mainHeadSize));
    const ExtractFailure failure = walkToWantedFile();
    closeSource();
    return failure;
}

bool appendOutput(const std::uint8_t* bytes, std::uint32_t count)
{
    std::uint32_t& produced = *archive.sizeVar;
    const std::uint64_t total = std::uint64_t(produced) + count;
    if (total > archive.outputSize || !reserveOutput(total)) {
        RAR_LOG("can't allocate memory for the file decompression");
        return false;
    }
    if (count > 0) std::memcpy(archive.output + produced, bytes, count);
    archive.outputCrc = crc32Update(archive.outputCrc, bytes, count);
    produced += count;
    return true;
}

}  // namespace rarreader
