// Turns an instrument recipe into 16-bit sample data, deterministically.
//
// Kinds and their parameters (defaults in synth.cpp's kind table):
//   acco    accordion reeds: reeds, detune (Hz between reeds), octave (level of the
//           reed an octave up), bright (0..1)
//   pulse   band-limited pulse wave: duty (0..0.5)
//   saw     detuned saw stack for pads and leads: voices, detune (Hz), cutoff (Hz)
//   fm      two-operator FM: ratio, index, idecay (seconds the index takes to fall)
//   voice   sung vowel: f1, f2, f3 (formant centres, Hz), width (Hz)
//   pluck   plucked string (Karplus-Strong): damp (0..1)
//   kick, snare, hat, cowbell, noise   percussion (see the kind table)
// Every kind also takes: vol (0..64), gvol (0..64), rate (Hz), len (seconds before
// the loop, or the whole sound), attack and decay (seconds), and vibspeed, vibdepth,
// vibrate (the sample's auto-vibrato, 0..64). Kinds that sustain also take loop
// (seconds of a seamless loop after `len`; 0 = none) and sustain (0..1, the level
// the decay falls to and the loop holds).
#pragma once

#include "song.h"

#include <cstdint>
#include <string>
#include <vector>

namespace itw {

struct SampleData {
    std::string name;
    std::vector<int16_t> pcm;
    int loopStart = -1;  // -1: no loop
    int loopEnd = -1;
    int c5Speed = 44100;  // playback rate at C-5
    int volume = 64;
    int globalVolume = 64;
    int vibSpeed = 0, vibDepth = 0, vibRate = 0;
};

// False with `error` ("file:line: reason" is added by the caller) on a bad recipe.
bool synthesize(const Instrument& ins, SampleData& out, std::string& error);

}  // namespace itw
