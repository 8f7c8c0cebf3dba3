// The archive format, written down once for everyone who reads or writes it: the
// reader, the packer and its table of contents.
//
// - All fields are little-endian. A 7-byte marker, a 13-byte main header, then
//   blocks that start with CRC (2), type (1), flags (2) and header size (2); flag
//   flagHasData adds a 32-bit data size at offset 7.
// - A file header has 32 fixed bytes, then the name; its CRC field holds the low 16
//   bits of the complemented CRC-32 of everything behind the field.
// - CRC-32 and the block cipher work on explicit state, so the reader keeps its own
//   in its process-wide state and the packer owns another.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/common/little_endian.h"

namespace rarformat {

// ---------------------------------------------------------------- blocks

// The markers: RAR 1.5 and later, the show's own, and the old format's first 4 bytes.
inline constexpr std::uint8_t rarMarker[7] = {0x52, 0x61, 0x72, 0x21, 0x1A, 0x07, 0x00};
inline constexpr std::uint8_t koboldMarker[7] = {'K', 'o', 'b', 'o', 'l', 'd', '!'};
inline constexpr std::uint8_t oldMarker[4] = {0x52, 0x45, 0x7E, 0x5E};

constexpr std::size_t markerSize = 7;
constexpr std::size_t mainHeaderSize = 13;
constexpr std::size_t blockHeadSize = 7;
constexpr std::size_t fileHeaderSize = 32;   // the fixed part, before the name
constexpr std::size_t nameBufferSize = 260;  // a name as the reader keeps it: at most 259 bytes + zero

constexpr std::uint8_t typeMain = 0x73;
constexpr std::uint8_t typeFile = 0x74;
constexpr std::uint8_t typeSubBlock = 0x77;
constexpr std::uint8_t typeEnd = 0x7B;

constexpr std::uint16_t mainFlagSolid = 0x0008;
constexpr std::uint16_t flagEncrypted = 0x0004;
constexpr std::uint16_t flagContinuesSolid = 0x0010;  // the file goes on from the one before
constexpr std::uint16_t flagDictionary1M = 0x0080;
constexpr std::uint16_t directoryFlags = 0x00E0;  // every dictionary bit set: the entry is a directory
constexpr std::uint16_t endBlockFlags = 0x4000;
constexpr std::uint16_t flagHasData = 0x8000;

constexpr std::uint8_t methodStored = 0x30;
constexpr std::uint8_t unpackVersion20 = 20;
constexpr std::uint8_t hostUnix = 3;
constexpr std::size_t passwordSize = 256;  // at most 255 characters + zero

// ---------------------------------------------------------------- packed data

constexpr std::size_t cipherBlockSize = 16;
constexpr std::uint32_t windowSize = 0x100000;  // the 1 MiB sliding window

// Literal/length symbols: 0..255 literals, then these. Audio tables have 256
// prediction errors and the new-tables symbol.
constexpr unsigned lastMatchSymbol = 256;    // the last match again
constexpr unsigned firstRepeatSymbol = 257;  // ..260: a match at one of the four last distances
constexpr unsigned firstShortSymbol = 261;   // ..268: a two-byte match at a short distance
constexpr unsigned newTablesSymbol = 269;
constexpr unsigned firstLengthSymbol = 270;  // ..297: a match with a length slot
constexpr unsigned audioNewTablesSymbol = 256;

// Far matches grow by themselves: one byte from each of these distances on (the
// repeat codes also from repeatBonusDistance).
constexpr std::uint32_t farBonusDistance1 = 0x2000;
constexpr std::uint32_t farBonusDistance2 = 0x40000;
constexpr std::uint32_t repeatBonusDistance = 257;

// The code tables of the LZ mode are sent as one run of code lengths: literals and
// lengths, then distances, then repeat lengths. Audio sends one table per channel.
constexpr unsigned literalCount = 298;
constexpr unsigned distanceCount = 48;
constexpr unsigned repeatLengthCount = 28;
constexpr unsigned lzLengthCount = literalCount + distanceCount + repeatLengthCount;
constexpr unsigned distanceLengthsAt = literalCount;
constexpr unsigned repeatLengthsAt = literalCount + distanceCount;
constexpr unsigned bitLengthCount = 19;
constexpr unsigned audioSymbolCount = 257;
constexpr unsigned maxAudioChannels = 4;

// The match slots: base and extra bits of the 28 length slots, the 48 distance
// slots and the 8 short distances.
inline constexpr std::uint8_t lengthBase[28] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  10,  12,  14,  16,  20,
                                                24, 28, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224};
inline constexpr std::uint8_t lengthBits[28] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2,
                                                2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5};
inline constexpr std::uint32_t distanceBase[48] = {
    0,      1,      2,      3,      4,      6,      8,      12,     16,     24,     32,     48,
    64,     96,     128,    192,    256,    384,    512,    768,    1024,   1536,   2048,   3072,
    4096,   6144,   8192,   12288,  16384,  24576,  32768,  49152,  65536,  98304,  131072, 196608,
    262144, 327680, 393216, 458752, 524288, 589824, 655360, 720896, 786432, 851968, 917504, 983040};
inline constexpr std::uint8_t distanceBits[48] = {
    0,  0,  0,  0,  1,  1,  2,  2,  3,  3,  4,  4,  5,  5,  6,  6,  7,  7,  8,  8,  9,  9,  10, 10,
    11, 11, 12, 12, 13, 13, 14, 14, 15, 15, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16};
inline constexpr std::uint8_t shortBase[8] = {0, 4, 8, 16, 32, 64, 128, 192};
inline constexpr std::uint8_t shortBits[8] = {2, 2, 3, 4, 5, 6, 6, 6};

// ---------------------------------------------------------------- fields

using platform::le16;
using platform::le32;
using platform::put16;
using platform::put32;

// A block's common head: the blockHeadSize bytes every block starts with, and the
// size of the data behind the block, which a block with flagHasData keeps at offset 7.
struct BlockHead {
    std::uint16_t crc = 0;
    std::uint8_t type = 0;
    std::uint16_t flags = 0;
    std::uint16_t headSize = 0;
    std::uint32_t dataSize = 0;  // present when flagHasData is set
};

// The blockHeadSize common bytes; the data size is not touched.
void decodeBlockHead(const std::uint8_t* bytes, BlockHead& head);
// Writes the blockHeadSize common bytes (CRC field included as it stands there).
void encodeBlockHead(const BlockHead& head, std::uint8_t* bytes);

// A file header with its zero-terminated name.
struct FileHeader {
    BlockHead head;
    std::uint32_t packSize = 0;
    std::uint32_t unpSize = 0;
    std::uint8_t hostOs = 0;
    std::uint32_t fileCrc = 0;
    std::uint32_t fileTime = 0;
    std::uint8_t unpVer = 0;
    std::uint8_t method = 0;
    std::uint16_t nameSize = 0;
    std::uint32_t attributes = 0;
    char name[nameBufferSize] = {};
};

// The fixed fileHeaderSize bytes of a file header; the name is not touched.
void decodeFileHeader(const std::uint8_t* bytes, FileHeader& header);
// Writes the fixed part from `header` (CRC field included as it stands there).
void encodeFileHeader(const FileHeader& header, std::uint8_t* bytes);

// ---------------------------------------------------------------- CRC-32 and cipher

// The reflected CRC-32 of zip and PNG, read 8 bytes at a time: table k holds the
// CRC of a byte followed by k zero bytes (table 0 is the classic one), so the bytes
// of a slice fold in with independent look-ups.
constexpr std::size_t crcSliceSize = 8;
struct CrcTables {
    std::uint32_t table[crcSliceSize][256] = {};
};

void buildCrcTables(CrcTables& crc);
// Neither presets nor complements: the caller does both.
std::uint32_t crc32Update(const CrcTables& crc, std::uint32_t value, const std::uint8_t* bytes,
                          std::size_t count);

// The block cipher's keys and password-shuffled substitution table. After every
// block the keys absorb the enciphered bytes: blocks go in stream order.
struct CipherState {
    std::uint32_t keys[4] = {};
    std::uint8_t sbox[256] = {};
};

// Keys and table from a password of at most 255 characters.
void initCipher(CipherState& cipher, const CrcTables& crc, const char* password);
void encipherBlock(CipherState& cipher, const CrcTables& crc, std::uint8_t* block);
void decipherBlock(CipherState& cipher, const CrcTables& crc, std::uint8_t* block);
void mixKeys(CipherState& cipher, const CrcTables& crc, const std::uint8_t* block);

}  // namespace rarformat
