// Table of contents: walks the blocks of an archive image the way the reader
// does, but checks every size against the image before trusting it.
#include "internal.h"
#include "rarpack.h"

#include "archive/rar_format.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace rarpack {
namespace {

using rarformat::le32;

// Where a block with data keeps the data's size: right behind its common head.
constexpr std::size_t dataSizeAt = rarformat::blockHeadSize, dataSizeEnd = dataSizeAt + 4;

bool readFileEntry(const std::uint8_t* head, std::size_t headerSize, Entry& entry, std::string& error)
{
    rarformat::FileHeader h;
    rarformat::decodeFileHeader(head, h);
    const std::size_t nameSize = h.nameSize;
    if (headerSize < rarformat::fileHeaderSize + nameSize) {
        error = "a file header is shorter than its name";
        return false;
    }
    entry.flags = h.head.flags;
    entry.packedSize = h.packSize;
    entry.size = h.unpSize;
    entry.crc = h.fileCrc;
    entry.version = h.unpVer;
    entry.method = h.method;
    entry.name.assign(reinterpret_cast<const char*>(head + rarformat::fileHeaderSize), nameSize);
    const std::uint32_t crc = detail::crc32Of(head + 2, rarformat::fileHeaderSize - 2 + nameSize);
    entry.headerCrcOk = (~crc & 0xFFFF) == h.head.crc;
    return true;
}

}  // namespace

bool listArchive(const std::vector<std::uint8_t>& image, Listing& listing, std::string& error)
{
    listing = Listing{};
    const std::size_t size = image.size();
    if (size >= 4 && std::memcmp(image.data(), rarformat::oldMarker, 4) == 0) {
        error = "an archive of the old format (before RAR 1.5), which isn't supported";
        return false;
    }
    if (size < rarformat::markerSize + rarformat::mainHeaderSize ||
        (std::memcmp(image.data(), rarformat::rarMarker, rarformat::markerSize) != 0 &&
         std::memcmp(image.data(), rarformat::koboldMarker, rarformat::markerSize) != 0)) {
        error = "not a RAR archive";
        return false;
    }
    rarformat::BlockHead main;
    rarformat::decodeBlockHead(image.data() + rarformat::markerSize, main);
    listing.solid = (main.flags & rarformat::mainFlagSolid) != 0;
    std::uint64_t pos =
        rarformat::markerSize + std::max<std::uint64_t>(main.headSize, rarformat::mainHeaderSize);
    while (pos + rarformat::blockHeadSize <= size) {
        const std::uint8_t* bytes = image.data() + pos;
        rarformat::BlockHead head;
        rarformat::decodeBlockHead(bytes, head);
        const std::uint32_t headerSize = head.headSize;
        if (headerSize < rarformat::blockHeadSize || pos + headerSize > size) {
            error = "a block header at offset " + std::to_string(pos) + " has a bad size";
            return false;
        }
        std::uint64_t next = pos + headerSize;
        if ((head.flags & rarformat::flagHasData) && headerSize >= dataSizeEnd)
            next += le32(bytes + dataSizeAt);
        if (head.type == rarformat::typeFile) {
            Entry entry;
            if (headerSize < rarformat::fileHeaderSize || !readFileEntry(bytes, headerSize, entry, error)) {
                if (error.empty()) error = "a file header is too short";
                return false;
            }
            listing.entries.push_back(entry);
        }
        if (next > size) {
            error = "the archive is cut short at offset " + std::to_string(pos);
            return false;
        }
        if (head.type == rarformat::typeEnd) break;
        pos = next;
    }
    return true;
}

std::string memberKey(const std::string& name)
{
    std::string key;
    for (char c : name)
        key += (c == '/' || c == '\\') ? '_' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return key;
}

bool isSafeMemberName(const std::string& name)
{
    if (name.empty() || name.find('\0') != std::string::npos) return false;
    if (name.size() >= 2 && name[1] == ':') return false;  // a drive letter
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = name.find_first_of("/\\", start);
        const std::string part =
            name.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (part.empty() || part == "." || part == "..") return false;
        if (end == std::string::npos) return true;
        start = end + 1;
    }
}

}  // namespace rarpack
