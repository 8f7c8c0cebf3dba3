// The sound library's calls, under their published names and with their published
// error codes, implemented over an Impulse Tracker player by every back end
// (desktop and web: mixed in SDL's audio callback; headless: rendered in step with
// the virtual clock). Mixing is 44100 Hz stereo; a playing module loops at its end.
#pragma once

struct FMUSIC_MODULE;  // opaque handle of a loaded module

// Error codes as FSOUND_GetError reports them.
enum SoundError : int {
    soundErrorNone = 0,
    soundErrorBusy = 1,
    soundErrorUninitialized = 2,
    soundErrorInit = 3,
    soundErrorAllocated = 4,
    soundErrorPlay = 5,
    soundErrorOutputFormat = 6,
    soundErrorCooperativeLevel = 7,
    soundErrorCreateBuffer = 8,
    soundErrorFileNotFound = 9,
    soundErrorFileFormat = 10,
    soundErrorFileBad = 11,
    soundErrorMemory = 12,
    soundErrorVersion = 13,
    soundErrorInvalidParam = 14,
    soundErrorNoEax = 15,
    soundErrorChannelAlloc = 16,
    soundErrorRecord = 17,
    soundErrorMediaPlayer = 18,
};

float FSOUND_GetVersion();
signed char FSOUND_Init(int mixRate, int maxSoftwareChannels, unsigned int flags);
int FSOUND_GetError();
FMUSIC_MODULE* FMUSIC_LoadSong(const char* name);
signed char FMUSIC_PlaySong(FMUSIC_MODULE* module);
signed char FMUSIC_FreeSong(FMUSIC_MODULE* module);
void FSOUND_Close();
