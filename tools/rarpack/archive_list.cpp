// Table of contents: walks the blocks of an archive image the way the reader
// does, but checks every size against the image before trusting it.
#include "internal.h"
#include "rarpack.h"

#include "archive/reader_internal.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace rarpack {
namespace {

using rarreader::le16;
using rarreader::le32;

constexpr std::size_t kMarkerSize = 7, kMainHeaderSize = 13, kBlockHeadSize = 7, kFileHeaderSize = 32;
constexpr std::uint8_t kEndBlockType = 0x7B;

bool readFileEntry(const std::uint8_t* head, std::size_t headerSize, Entry& entry, std::string& error)
{
    const std::size_t nameSize = le16(head + 26);
    if (headerSize < kFileHeaderSize + nameSize) {
        error = "a file header is shorter than its name";
        return false;
    }
    entry.flags = static_cast<std::uint16_t>(le16(head + 3));
    entry.packedSize = le32(head + 7);
    entry.size = le32(head + 11);
    entry.crc = le32(head + 16);
    entry.version = head[24];
    entry.method = head[25];
    entry.name.assign(reinterpret_cast<const char*>(head + kFileHeaderSize), nameSize);
    const std::uint32_t crc = detail::crc32Of(head + 2, kFileHeaderSize - 2 + nameSize);
    entry.headerCrcOk = (~crc & 0xFFFF) == le16(head);
    return true;
}

}  // namespace

bool listArchive(const std::vector<std::uint8_t>& image, Listing& listing, std::string& error)
{
    listing = Listing{};
    const std::size_t size = image.size();
    if (size >= 4 && std::memcmp(image.data(), rarreader::oldMarker, 4) == 0) {
        error = "an archive of the old format (before RAR 1.5), which isn't supported";
        return false;
    }
    if (size < kMarkerSize + kMainHeaderSize ||
        (std::memcmp(image.data(), rarreader::rarMarker, kMarkerSize) != 0 &&
         std::memcmp(image.data(), rarreader::koboldMarker, kMarkerSize) != 0)) {
        error = "not a RAR archive";
        return false;
    }
    const std::uint8_t* main = image.data() + kMarkerSize;
    listing.solid = (le16(main + 3) & rarreader::mainFlagSolid) != 0;
    std::uint64_t pos = kMarkerSize + std::max<std::uint64_t>(le16(main + 5), kMainHeaderSize);
    while (pos + kBlockHeadSize <= size) {
        const std::uint8_t* head = image.data() + pos;
        const std::uint32_t flags = le16(head + 3), headerSize = le16(head + 5);
        if (headerSize < kBlockHeadSize || pos + headerSize > size) {
            error = "a block header at offset " + std::to_string(pos) + " has a bad size";
            return false;
        }
        std::uint64_t next = pos + headerSize;
        if ((flags & rarreader::flagHasData) && headerSize >= 11) next += le32(head + 7);
        if (head[2] == rarreader::typeFile) {
            Entry entry;
            if (headerSize < kFileHeaderSize || !readFileEntry(head, headerSize, entry, error)) {
                if (error.empty()) error = "a file header is too short";
                return false;
            }
            listing.entries.push_back(entry);
        }
        if (next > size) {
            error = "the archive is cut short at offset " + std::to_string(pos);
            return false;
        }
        if (head[2] == kEndBlockType) break;
        pos = next;
    }
    return true;
}

std::string memberKey(const std::string& name)
{
    std::string key;
    for (char c : name) key += (c == '/' || c == '\\') ? '_' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return key;
}

bool isSafeMemberName(const std::string& name)
{
    if (name.empty() || name.find('\0') != std::string::npos) return false;
    if (name.size() >= 2 && name[1] == ':') return false;  // a drive letter
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = name.find_first_of("/\\", start);
        const std::string part = name.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (part.empty() || part == "." || part == "..") return false;
        if (end == std::string::npos) return true;
        start = end + 1;
    }
}

}  // namespace rarpack
