// Helpers for the reader's tests: archives written by hand (with correct CRCs),
// a bit writer for hand-made compressed streams, files in a scratch directory.
#pragma once

#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "archive/rar_format.h"
#include "archive/rarreader.h"

namespace testrar {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t crc32(const Bytes& bytes);
Bytes readFile(const std::string& path);
std::string readText(const std::string& path);
// The debug log as it stands now, and the messages of the last call in it.
std::string debugLog();
std::vector<std::string> lastCallMessages();
void writeFile(const std::string& path, const Bytes& bytes);
// The process's scratch directory (also where the debug log goes).
const std::string& scratchDir();
std::string fixture(const std::string& name);

// One member of a hand-made archive. `packed` is what goes into the archive.
struct Member {
    std::string name;
    Bytes packed;
    std::uint32_t unpSize = 0;
    std::uint32_t crc = 0;
    std::uint8_t method = rarformat::methodStored;
    std::uint8_t unpVer = rarformat::unpackVersion20;
    std::uint16_t flags = rarformat::flagHasData;
    bool breakHeaderCrc = false;
    std::int64_t declaredPackSize = -1;  // the header's packed size; -1: that of `packed`
};
// Enciphers packed data as an archiver does: fresh keys, whole 16-byte blocks.
Bytes encipher(Bytes data, const char* password);
Member encryptedStoredMember(const std::string& name, const Bytes& content, const char* password);
Member storedMember(const std::string& name, const Bytes& content);
Member packedMember(const std::string& name, const Bytes& packed, const Bytes& content,
                    bool continues = false);

struct ArchiveLayout {
    std::vector<Member> members;
    bool solid = false;
    Bytes marker = Bytes(std::begin(rarformat::rarMarker), std::end(rarformat::rarMarker));
    Bytes blocksBefore;  // raw blocks between the main header and the first file
};
Bytes buildArchive(const ArchiveLayout& layout);
// A plain archive of these members.
inline Bytes buildArchive(const std::vector<Member>& members)
{
    ArchiveLayout layout;
    layout.members = members;
    return buildArchive(layout);
}
// A block of another type (comment 0x75, sub-block 0x77 ...), with `data` behind it.
Bytes rawBlock(std::uint8_t type, const Bytes& data);

// Writes the archive into the scratch directory under `name`; returns its path.
std::string saveArchive(const std::string& name, const Bytes& archive);

struct Extraction {
    int result = 0;
    Bytes bytes;
    std::string lastMessage;
    ExtractFailure failure = ExtractFailure::none;  // of this call
};
Extraction extract(const std::string& archivePath, const std::string& name, const char* password = nullptr);
// The same call on an archive image in memory (the reader's memory seam).
Extraction extractImage(const Bytes& image, const std::string& name, const char* password = nullptr);

// Most significant bit first, as the decompressor reads.
class BitWriter {
public:
    void put(std::uint32_t value, unsigned bits);
    Bytes finish();  // padded with zero bits and some slack bytes
private:
    Bytes bytes_;
    std::uint32_t acc_ = 0;
    unsigned used_ = 0;
};

// Canonical code of given lengths (the decoder's order: by length, then symbol).
struct Code {
    std::vector<std::uint8_t> lengths;
    std::vector<std::uint32_t> codes;
    explicit Code(std::vector<std::uint8_t> lengthsIn);
    void put(BitWriter& w, unsigned symbol) const;
};

// A table read that sends `lengths` plainly (bit-length code: every length symbol 0..15
// as a 5-bit... ) see the .cpp; `audioChannels` 0 for LZ tables.
void putTables(BitWriter& w, const std::vector<std::uint8_t>& lengths, unsigned audioChannels = 0,
               bool keepPrevious = false, const std::vector<std::uint8_t>& previous = {});

}  // namespace testrar
