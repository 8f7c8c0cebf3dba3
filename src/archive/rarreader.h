// The archive reader: takes one named file out of a RAR 2.0 archive (normal or
// solid, encrypted or not) into memory. Not re-entrant: one call at a time.
#pragma once

#include <cstdint>

// Returns 1 and a malloc'ed buffer of exactly the file's size (free it with free),
// or 0 with *dataOut null and *sizeOut 0. `password` may be null. The reason of a
// failure is written to the debug log only.
int extractToMemory(std::uint8_t** dataOut, std::uint32_t* sizeOut, const char* fileName,
                    const char* archivePath, const char* password);

// The last message the reader logged (also when the log file is off), for tools
// that report why a call failed. Empty before the first message.
const char* lastReaderMessage();

// Why the last failed call failed: the reason the reader logged before its failure
// line ("CRC32 error - ...", "not found in the archive", ...). Empty before any failure.
const char* lastFailureReason();
