// rarpack: writes RAR 2.0 archives (normal or solid, stored or compressed,
// optionally encrypted) that the show's archive reader takes apart again.
// Everything happens in memory; the command line tool adds the files around it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "archive/rar_format.h"

namespace rarpack {

struct PackOptions {
    std::string password;  // empty: not encrypted
    bool solid = false;    // one compressed stream through all members
    bool storeOnly = false;
    int effort = 6;  // 1 (fast) .. 9 (smallest)
};

struct Member {
    std::string name;  // as stored: path parts joined with a backslash
    std::vector<std::uint8_t> data;
    std::uint32_t dosTime = 0;  // MS-DOS date and time
    std::uint32_t attributes = 0100644;
};

// What became of one member.
struct MemberReport {
    std::string name;
    std::uint64_t size = 0;
    std::uint64_t packedSize = 0;  // including cipher padding
    bool stored = false;
    std::uint64_t audioBytes = 0;  // bytes coded in audio mode
    int audioChannels = 0;         // channel count of the last audio block, 0 if none
    int tableCount = 0;            // sets of tables sent
};

// Called now and then with the bytes consumed so far and the total.
using Progress = std::function<void(std::uint64_t done, std::uint64_t total)>;

// Builds a whole archive in `archive`. Returns false with a message in `error`
// (bad name, too large, bad password); nothing of the archive is then valid.
bool packArchive(const std::vector<Member>& members, const PackOptions& options,
                 std::vector<std::uint8_t>& archive, std::vector<MemberReport>& reports, std::string& error,
                 const Progress& progress = nullptr);

// One entry of an archive's table of contents, read without unpacking.
struct Entry {
    std::string name;
    std::uint32_t size = 0;
    std::uint32_t packedSize = 0;
    std::uint32_t crc = 0;
    std::uint8_t version = 0;
    std::uint8_t method = 0;
    std::uint16_t flags = 0;
    bool headerCrcOk = true;
    bool isDirectory() const { return (flags & rarformat::directoryFlags) == rarformat::directoryFlags; }
    bool isEncrypted() const { return (flags & rarformat::flagEncrypted) != 0; }
};

struct Listing {
    bool solid = false;
    std::vector<Entry> entries;
};

// Walks the blocks of an archive image. False with a message when it isn't a RAR
// 2.0 archive or a header lies about its size.
bool listArchive(const std::vector<std::uint8_t>& image, Listing& listing, std::string& error);

// The form in which the reader compares names: letters in upper case, slash and
// backslash alike. Two members with the same key can't be told apart by it.
std::string memberKey(const std::string& name);

// True when a stored name is safe to create below an extraction directory: not
// absolute, no drive letter, no empty, "." or ".." part. Backslashes separate parts.
bool isSafeMemberName(const std::string& name);

}  // namespace rarpack
