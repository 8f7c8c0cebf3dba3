// The soundtrack: the module "marlu.it" through the sound library.
#pragma once

struct FMUSIC_MODULE;

struct MusicState {
    FMUSIC_MODULE* song = nullptr;  // null when loading failed
};

extern MusicState music;

// Version check (3.5 or newer), library start and module load. Every failure shows
// its box and posts the quit message, and the next step runs regardless.
void startMusic();
// Starts the song (also called with a null song after a failed load).
void playMusic();
// Frees the song and closes the library, after failures too.
void stopMusic();
// The text for a sound-library error code; codes outside 0..18 (negative ones
// included) give "Unknown error".
const char* fmodErrorText(int code);
