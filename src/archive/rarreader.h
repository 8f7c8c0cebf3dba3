// The archive reader: takes one named file out of a RAR 2.0 archive (normal or
// solid, encrypted or not) into memory. Not re-entrant: one call at a time.
#pragma once

#include <cstdint>

// Returns 1 and a malloc'ed buffer of exactly the file's size (free it with free),
// or 0 with *dataOut null and *sizeOut 0. `password` may be null. The reason of a
// failure is written to the debug log, and kept as lastExtractFailure().
int extractToMemory(std::uint8_t** dataOut, std::uint32_t* sizeOut, const char* fileName,
                    const char* archivePath, const char* password);

// Why a call failed. The debug log says it in words; every kind but notFound
// with a message of its own.
enum class ExtractFailure {
    none,
    badCall,        // an argument missing, or a name, path or password too long
    cannotOpen,     // the archive can't be opened
    notRar,         // no usable RAR start (short, old format, unknown marker)
    notFound,       // the walk ended without meeting the name
    subBlock,       // a sub-block ahead of the wanted file
    noMemory,       // the window or the output buffer can't be had
    unknownMethod,  // unpack version outside 13..20
    damaged,        // the file's bytes don't come out right (CRC-32, impossible stored size)
};

// The last message the reader logged (also when the log file is off), for tools
// that report why a call failed. Empty before the first message.
const char* lastReaderMessage();

// The last failed call's failure; none before any failure.
ExtractFailure lastExtractFailure();
// The same in words, for tools: the message the reader logged when it gave up
// ("CRC32 error - ...", "Not a RAR file", ...), or "not found in the archive".
// Empty before any failure.
const char* lastFailureReason();
