// The asset driver: the media files (assets/media.txt) are taken out of "stuff.dat" into the
// current directory before loading, and deleted again after.
#pragma once

#include <cstdint>

// A program started from another folder (a file manager, a shortcut, a command
// line elsewhere) looks for "stuff.dat" beside itself: when the current directory
// holds none, the program's own folder becomes the current directory. Where neither
// holds one, the extraction reports the missing archive as it always has.
void enterArchiveFolder();
// Extracts every media file; each failure shows "Error in Archive stuff.dat" and
// posts the quit message, and the next file is extracted regardless.
void extractMediaSet();
// Deletes the media files this run wrote (and nothing else).
void deleteMediaSet();

// One file of the set, from "stuff.dat" to the current directory under its name.
void extractMediaFile(const char* name);
// Creates `path` anew and writes `size` bytes; a file of that name that already
// exists is left untouched, and the failure is shown like an archive error.
void writeMediaFile(const char* path, const std::uint8_t* data, std::uint32_t size);
