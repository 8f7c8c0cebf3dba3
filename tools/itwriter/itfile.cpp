#include "itfile.h"

#include <algorithm>

#include "little_endian.h"

namespace itw {
namespace {

// Format notes: every number is little-endian; offsets are from the file's start.
constexpr size_t headerSize = 0xC0;
constexpr size_t sampleHeaderSize = 0x50;
constexpr uint16_t trackerVersion = 0x0214;
constexpr uint16_t flagsStereoLinear = 0x0009;
constexpr uint8_t orderEnd = 255;
constexpr uint8_t channelOff = 32 + 128;  // centred and disabled
constexpr uint8_t sampleHas = 0x01, sample16 = 0x02, sampleLoop = 0x10;
constexpr uint8_t signedConversion = 0x01;
constexpr int jumpCommand = 2;  // Bxx: jump to order xx
constexpr size_t maxPacked = 0xFFFF - 8;
constexpr size_t maxPatterns = 200;  // order entries 0..199 name patterns

struct Writer {
    std::vector<uint8_t>& b;
    void u8(unsigned v) { b.push_back(uint8_t(v)); }
    void u16(unsigned v) { append16(b, v); }
    void u32(uint32_t v) { append32(b, v); }
    void bytes(const std::string& s, size_t size)
    {  // zero-padded, not terminated
        for (size_t i = 0; i < size; ++i) u8(i < s.size() ? uint8_t(s[i]) : 0);
    }
    void text(const std::string& s, size_t size) { bytes(s.substr(0, size - 1), size); }
    void put32(size_t at, uint32_t v) { ::put32(b, at, v); }
};

// The order list as played, and the patterns with the jump back to the loop written
// into a copy of the last one (the original may be played elsewhere too).
bool withLoopJump(const Song& song, std::vector<Pattern>& patterns, std::vector<int>& orders,
                  std::string& error)
{
    patterns = song.patterns;
    orders = song.orders;
    if (song.loopOrder <= 0) return true;
    if (orders.empty() || orders.back() < 0 || size_t(orders.back()) >= patterns.size() ||
        patterns[size_t(orders.back())].cells.empty()) {
        error = "the song has a loop mark but no pattern at its end to jump from";
        return false;
    }
    Pattern last = patterns[size_t(orders.back())];
    std::vector<Cell>& row = last.cells.back();
    auto free = std::find_if(row.begin(), row.end(), [](const Cell& c) { return c.command < 0; });
    if (free == row.end()) {
        error = last.file + ":" + std::to_string(last.line) + ": the last row of pattern '" + last.name +
                "' has no free effect column for the loop jump";
        return false;
    }
    free->command = jumpCommand;
    free->param = song.loopOrder;
    patterns.push_back(last);
    orders.back() = int(patterns.size()) - 1;
    return true;
}

void writeHeader(Writer& w, const Song& song, size_t orders, size_t samples, size_t patterns)
{
    w.bytes("IMPM", 4);
    w.text(song.title, 26);
    w.u8(4);
    w.u8(16);  // row highlights: beat, bar
    w.u16(unsigned(orders + 1));
    w.u16(0);
    w.u16(unsigned(samples));
    w.u16(unsigned(patterns));
    w.u16(trackerVersion);
    w.u16(trackerVersion);
    w.u16(flagsStereoLinear);
    w.u16(0);
    w.u8(unsigned(song.globalVolume));
    w.u8(unsigned(song.mixVolume));
    w.u8(unsigned(song.speed));
    w.u8(unsigned(song.tempo));
    w.u8(128);
    w.u8(0);
    w.u16(0);
    w.u32(0);
    w.u32(0);  // separation, pitch wheel, message, reserved
    for (size_t c = 0; c < maxChannels; ++c)
        w.u8(c < song.channels.size() ? unsigned(song.channels[c].pan) : channelOff);
    for (size_t c = 0; c < maxChannels; ++c)
        w.u8(c < song.channels.size() ? unsigned(song.channels[c].volume) : 64);
}

void writeSampleHeader(Writer& w, const SampleData& s, uint32_t dataOffset)
{
    bool loops = s.loopStart >= 0;
    w.bytes("IMPS", 4);
    w.text(s.name.substr(0, 8) + ".raw", 12);
    w.u8(0);
    w.u8(unsigned(s.globalVolume));
    w.u8(sampleHas | sample16 | (loops ? sampleLoop : 0));
    w.u8(unsigned(s.volume));
    w.text(s.name, 26);
    w.u8(signedConversion);
    w.u8(0);  // signed PCM; no default pan
    w.u32(uint32_t(s.pcm.size()));
    w.u32(loops ? uint32_t(s.loopStart) : 0);
    w.u32(loops ? uint32_t(s.loopEnd) : 0);
    w.u32(uint32_t(s.c5Speed));
    w.u32(0);
    w.u32(0);
    w.u32(dataOffset);
    w.u8(unsigned(s.vibSpeed));
    w.u8(unsigned(s.vibDepth));
    w.u8(unsigned(s.vibRate));
    w.u8(0);
}

void writeCell(Writer& w, size_t channel, const Cell& c)
{
    unsigned mask =
        (c.note >= 0 ? 1 : 0) | (c.sample > 0 ? 2 : 0) | (c.volume >= 0 ? 4 : 0) | (c.command > 0 ? 8 : 0);
    if (!mask) return;
    w.u8(unsigned(channel + 1) | 0x80);
    w.u8(mask);
    if (mask & 1) w.u8(unsigned(c.note));
    if (mask & 2) w.u8(unsigned(c.sample));
    if (mask & 4) w.u8(unsigned(c.volume));
    if (mask & 8) {
        w.u8(unsigned(c.command));
        w.u8(unsigned(c.param));
    }
}

bool writePattern(Writer& w, const Pattern& p, std::string& error)
{
    size_t start = w.b.size();
    w.u16(0);
    w.u16(unsigned(p.rows));
    w.u32(0);
    for (const std::vector<Cell>& row : p.cells) {
        for (size_t ch = 0; ch < row.size(); ++ch) writeCell(w, ch, row[ch]);
        w.u8(0);
    }
    size_t packed = w.b.size() - start - 8;
    if (packed > maxPacked) {
        error = "pattern '" + p.name + "' packs to more than 64k bytes";
        return false;
    }
    put16(w.b, start, uint32_t(packed));
    return true;
}

}  // namespace

bool writeIt(const Song& song, const std::vector<SampleData>& samples, std::vector<uint8_t>& out,
             std::string& error)
{
    std::vector<Pattern> patterns;
    std::vector<int> orders;
    if (!withLoopJump(song, patterns, orders, error)) return false;
    if (patterns.size() > maxPatterns) {
        error = "more than " + std::to_string(maxPatterns) +
                " patterns (with the copy that carries the loop jump)";
        return false;
    }
    out.clear();
    Writer w{out};
    writeHeader(w, song, orders.size(), samples.size(), patterns.size());
    for (int o : orders) w.u8(unsigned(o));
    w.u8(orderEnd);
    size_t sampleTable = out.size();
    out.resize(out.size() + 4 * (samples.size() + patterns.size()), 0);
    size_t patternTable = sampleTable + 4 * samples.size();
    std::vector<size_t> headerAt;
    for (size_t i = 0; i < samples.size(); ++i) {
        w.put32(sampleTable + 4 * i, uint32_t(out.size()));
        headerAt.push_back(out.size());
        writeSampleHeader(w, samples[i], 0);
    }
    for (size_t i = 0; i < patterns.size(); ++i) {
        w.put32(patternTable + 4 * i, uint32_t(out.size()));
        if (!writePattern(w, patterns[i], error)) return false;
    }
    for (size_t i = 0; i < samples.size(); ++i) {
        w.put32(headerAt[i] + 0x48, uint32_t(out.size()));
        for (int16_t s : samples[i].pcm) w.u16(uint16_t(s));
    }
    return true;
}

}  // namespace itw
