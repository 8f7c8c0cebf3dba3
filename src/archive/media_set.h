// The asset driver: the 34 media files are taken out of "stuff.dat" into the
// current directory before loading, and deleted again after.
#pragma once

// Extracts every media file; each failure shows "Error in Archive stuff.dat" and
// posts the quit message, and the next file is extracted regardless.
void extractMediaSet();
// Deletes the media files this run wrote (and nothing else).
void deleteMediaSet();
