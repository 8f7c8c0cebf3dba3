// The song as the score describes it, before it becomes an Impulse Tracker file:
// instruments (synthesis recipes), channels, patterns of cells and the order list.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace itw {

constexpr int maxChannels = 64;
constexpr int maxNote = 119;      // B-9
constexpr uint8_t noteCut = 254;  // ^^^
constexpr uint8_t noteOff = 255;  // ===
constexpr int noValue = -1;

// One cell of a pattern; noValue marks an empty field.
struct Cell {
    int note = noValue;     // 0..119, noteCut or noteOff
    int sample = noValue;   // 1-based sample number
    int volume = noValue;   // 0..64
    int command = noValue;  // 1..26 (A..Z)
    int param = 0;          // 0..255
};

// A synthesis recipe: the kind names the generator, params its numbers.
struct Instrument {
    std::string name;
    std::string kind;
    std::map<std::string, double> params;
    int baseNote = 60;  // the pitch the sample is generated at (C-5)
    std::string file;   // where it was defined, for messages
    int line = 0;
};

struct Channel {
    std::string name;
    int instrument = 0;  // 1-based default sample of the channel's cells
    int note = 60;       // the note an "x" plays
    int pan = 32;        // 0..64
    int volume = 64;     // 0..64
};

struct Pattern {
    std::string name;
    std::string file;  // where it was defined, for messages
    int line = 0;
    int rows = 64;
    std::vector<std::vector<Cell>> cells;  // [row][channel]
};

struct Song {
    std::string title = "untitled";
    int speed = 6;    // ticks per row
    int tempo = 125;  // 2.5 / tempo seconds per tick
    int globalVolume = 128;
    int mixVolume = 48;
    std::vector<Instrument> instruments;
    std::vector<Channel> channels;
    std::vector<Pattern> patterns;
    std::vector<int> orders;  // pattern indices
    int loopOrder = -1;       // where the song returns to; -1 = the start
};

}  // namespace itw
