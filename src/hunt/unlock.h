// The unlock of the hidden hunt: a fixed sequence of six letter keys typed in a row.
#pragma once

#include <cstdint>

struct Flock;

// True when the history (oldest first) holds the sequence.
bool matchesUnlockSequence(const std::int32_t (&history)[6]);

// Run last in every main-scene frame: on a match the hunt starts and the key
// history is cleared.
void checkUnlock(Flock& flock);
