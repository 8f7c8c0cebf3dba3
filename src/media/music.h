// The soundtrack: the module "marlu.it" through the sound library.
#pragma once

struct FMUSIC_MODULE;

struct MusicState {
    FMUSIC_MODULE* song = nullptr;  // null when loading failed
};

extern MusicState music;

// Version check, library start and module load; every failure shows its box and
// posts the quit message, and the next step runs regardless.
void startMusic();
void playMusic();
void stopMusic();
const char* fmodErrorText(int code);
