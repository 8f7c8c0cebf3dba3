// Inside the archive reader: the one process-wide reader state and the calls that
// cross its source files. No guarantee for anyone outside src/archive and its
// tests; the format itself is in archive/rar_format.h.
//
// Who writes what:
//   rarreader.cpp    the call's inputs, the first-call flag, the last failure; owns the
//                    state object
//   archive_source.cpp the archive source (a file or an image in memory)
//   archive_walk.cpp headers, output buffer, file-found flag
//   crc_cipher.cpp   CRC table, keys, substitution table, packed bytes left
//   unpack.cpp       the decoder: bit input, tables, window positions, audio state
//   debug_log.cpp    the log's path, start time, enabled flag, last message, the
//                    words of the last failure
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "archive/rar_format.h"
#include "archive/rarreader.h"

namespace rarreader {

// ---------------------------------------------------------------- limits

constexpr std::uint32_t windowSize = rarformat::windowSize;
constexpr std::uint32_t windowMask = windowSize - 1;
constexpr std::uint32_t inBufferSize = 8192;  // bit input buffer: one read of packed bytes
constexpr std::uint32_t inBufferSlack = 64;   // room for the unread rest kept before a read
constexpr unsigned quickBits = 10;            // prefix bits one table look-up resolves
// Largest file the reader will hand out: anything bigger in a damaged or hostile
// archive is refused as "can't allocate" instead of exhausting memory.
constexpr std::uint32_t maxUnpackedSize = 256u << 20;
constexpr std::size_t wantedNameSize = 512;
constexpr std::size_t pathBufferSize = 4096;
constexpr std::size_t messageSize = 1280;  // one formatted log message

// ---------------------------------------------------------------- format

using rarformat::BlockHead;
using rarformat::distanceBase;
using rarformat::distanceBits;
using rarformat::FileHeader;
using rarformat::flagEncrypted;
using rarformat::flagHasData;
using rarformat::koboldMarker;
using rarformat::le16;
using rarformat::le32;
using rarformat::lengthBase;
using rarformat::lengthBits;
using rarformat::mainFlagSolid;
using rarformat::methodStored;
using rarformat::nameBufferSize;
using rarformat::oldMarker;
using rarformat::passwordSize;
using rarformat::rarMarker;
using rarformat::shortBase;
using rarformat::shortBits;
using rarformat::typeFile;

// ---------------------------------------------------------------- state

// What extractToMemory was asked for (copied in at the start of a call).
struct CallState {
    char wantedName[wantedNameSize] = {};
    char archivePath[pathBufferSize] = {};
    char password[passwordSize] = {};  // wiped at the end of every call
    bool firstCall = true;             // the first call starts the debug log
    bool inMemory = false;             // read `image` instead of the file at archivePath
    const std::uint8_t* image = nullptr;
    std::size_t imageSize = 0;
    ExtractFailure lastFailure = ExtractFailure::none;  // of the last call that failed
};

// The archive's bytes: a file, or an image in memory (`file` null).
struct ArchiveSource {
    bool open = false;
    std::FILE* file = nullptr;
    const std::uint8_t* image = nullptr;
    std::uint64_t imageSize = 0;
    std::uint64_t position = 0;  // in the image
    std::uint64_t size = 0;      // the archive's length (0 when a file's can't be had)
};

// One archive at a time, open only during a call.
struct ArchiveState {
    ArchiveSource source;
    std::uint16_t mainFlags = 0;  // bit 0x0008: solid
    std::uint16_t mainHeadSize = 0;
    FileHeader file;      // the current file header
    BlockHead lastBlock;  // the block the walk stopped at
    std::uint64_t blockStart = 0;
    std::uint64_t nextBlock = 0;
    std::uint32_t headerCrc = 0;  // running CRC of the current file header
    bool fileFound = false;
    std::uint8_t* output = nullptr;     // the wanted file's bytes (C heap)
    std::uint32_t outputSize = 0;       // the wanted file's unpacked size: all it may hold
    std::uint32_t outputAllocated = 0;  // grows as bytes arrive, up to outputSize
    std::uint32_t* sizeVar = nullptr;   // bytes placed in `output` so far (caller's)
    std::uint32_t outputCrc = 0;        // running CRC-32 of those bytes (preset, not complemented)
    std::uint8_t* window = nullptr;     // the 1 MiB window (C heap), held for one call
                                        // (calls on memory images keep it for the next)
};

// CRC-32 table and the block cipher's keys; the gate for packed bytes.
struct CryptoState {
    rarformat::CrcTables crc;
    bool crcBuilt = false;
    rarformat::CipherState cipher;
    int cipherVersion = 0;         // 0: plain; otherwise the file's unpack version
    std::uint64_t packedLeft = 0;  // packed bytes of the current file not yet read
};

// A canonical Huffman code as the decoder reads it. `quick` resolves every code of
// up to quickBits bits in one look-up by the next quickBits bits of input: the
// symbol in the low 12 bits, the code length in the top 4 (0: a longer code, found
// by walking `limit` from quickBits + 1 on).
struct DecodeTable {
    std::uint32_t symbolCount = 0;
    std::uint32_t limit[16] = {};                         // left-aligned 16-bit upper limit per length
    std::uint32_t firstIndex[16] = {};                    // where each length's run starts in `symbols`
    std::uint16_t symbols[rarformat::literalCount] = {};  // by length, then by value
    std::uint16_t quick[1u << quickBits] = {};
};

// The bit register: the next bits at the top of `word`, `count` of them loaded,
// `pos` the next buffer byte to load. The decoding loop holds a copy in locals.
struct BitRegister {
    std::uint64_t word = 0;
    unsigned count = 0;
    std::uint32_t pos = 0;
};

// Most significant bit first. Every file's bits start empty; the buffer holds only
// that file's packed bytes, and past their end the register is fed zeros, counted
// in `zeroBits`, so the decoder can tell that the file has run dry.
struct BitInput {
    std::uint8_t buffer[inBufferSize + inBufferSlack] = {};
    BitRegister reg;
    std::uint32_t fill = 0;      // valid bytes in the buffer
    std::uint64_t zeroBits = 0;  // zeros loaded past the end of the packed bytes
    bool ended = false;          // readPacked has nothing more for this file
};

// The adaptive predictor of one audio channel.
struct AudioChannelState {
    int weight1 = 0, weight2 = 0, weight3 = 0, weight4 = 0, weight5 = 0;
    int delta1 = 0, delta2 = 0, delta3 = 0, delta4 = 0;
    int prevDelta = 0;
    std::uint32_t errorSum[11] = {};
    std::uint32_t sampleCount = 0;
    int prevSample = 0;
};

// Everything the decoder keeps; it survives from file to file for solid streams.
struct UnpackState {
    std::uint8_t* window = nullptr;
    std::uint32_t writePos = 0;    // where the next byte goes
    std::uint32_t flushedPos = 0;  // bytes before this have been handed on
    std::int64_t bytesLeft = 0;    // bytes still to produce
    BitInput in;
    DecodeTable bitLengthTable, literalTable, distanceTable, repeatTable;
    DecodeTable audioTables[rarformat::maxAudioChannels];
    std::uint8_t previousLengths[rarformat::audioSymbolCount * rarformat::maxAudioChannels] = {};
    std::uint32_t oldDist[4] = {};
    std::uint32_t oldDistCounter = 0;
    std::uint32_t lastDist = 0;
    std::uint32_t lastLength = 0;
    bool audioMode = false;
    int channelCount = 1;
    int currentChannel = 0;
    int sharedDelta = 0;
    AudioChannelState channels[rarformat::maxAudioChannels];
    bool streamStarted = false;     // a file of this call was decoded: the next may continue it
    std::uint32_t windowDirty = 0;  // window bytes from its start that may not be zero
};

struct LogState {
    bool enabled = false;  // the log file was created; never cleared
    char path[pathBufferSize] = {};
    std::uint32_t startTick = 0;
    char lastMessage[messageSize] = {};    // kept even when the file is off
    char failureReason[messageSize] = {};  // what the last failed call logged when it gave up
};

struct ReaderState {
    CallState call;
    ArchiveState archive;
    CryptoState crypto;
    UnpackState unpack;
    LogState log;
};

// The reader's one process-wide state (not re-entrant; one call at a time).
extern ReaderState reader;

// ---------------------------------------------------------------- CRC-32 and cipher

void buildCrcTable();
std::uint32_t crc32Update(std::uint32_t crc, const std::uint8_t* bytes, std::size_t count);
void initCipher(const char* password);
void encipherBlock(std::uint8_t* block);
void decipherBlock(std::uint8_t* block);
void mixKeys(const std::uint8_t* block);
// Reads up to `count` packed bytes of the current file, deciphered when needed;
// returns the number read, or -1 on a read error.
long readPacked(std::uint8_t* buffer, std::size_t count);

// ---------------------------------------------------------------- archive source

bool openSource();  // the call's file or image
void closeSource();
bool sourceIsOpen();
std::size_t readSource(std::uint8_t* buffer, std::size_t count);
bool sourceFailed();  // a read error happened
bool seekSource(std::uint64_t position);
std::int64_t sourcePosition();  // -1 when it can't be had
std::uint64_t sourceSize();     // the archive's length; 0 when it can't be had

// ---------------------------------------------------------------- decompressor

// Decodes the current file into the window; the wanted file's bytes are handed on
// to the output buffer.
void decompressFile(std::uint8_t* window);

// ---------------------------------------------------------------- archive walk

// How the run ended: none when the wanted file is in the output buffer.
ExtractFailure extractFromArchive();
bool namesMatch(const char* a, const char* b);
// Appends bytes of the wanted file to the output buffer, which grows as they arrive;
// false (logged) when the buffer can't grow.
bool appendOutput(const std::uint8_t* bytes, std::uint32_t count);

// ---------------------------------------------------------------- memory seam

// extractToMemory on an archive image in memory: the same run, with `image` read
// in place of a file (the fuzz harnesses and the tests feed bytes this way). The
// log names the archive ">(memory)<".
int extractFromMemory(std::uint8_t** dataOut, std::uint32_t* sizeOut, const char* fileName,
                      const std::uint8_t* image, std::size_t imageSize, const char* password);

// ---------------------------------------------------------------- debug log

struct DebugLog {
    static void start(const char* path);
    static void write(const char* message, const char* sourceFile, unsigned line);
};

// Formats a message and writes it through DebugLog::write.
void logMessage(const char* sourceFile, unsigned line, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// The same for the message with which a run gives up: its words become the failure's
// reason (lastFailureReason); returns `failure`, for the caller to pass up.
ExtractFailure logFailure(ExtractFailure failure, const char* sourceFile, unsigned line, const char* format,
                          ...) __attribute__((format(printf, 4, 5)));

#define RAR_LOG(...) ::rarreader::logMessage(__FILE__, __LINE__, __VA_ARGS__)
#define RAR_FAIL(failure, ...) ::rarreader::logFailure(failure, __FILE__, __LINE__, __VA_ARGS__)

}  // namespace rarreader
