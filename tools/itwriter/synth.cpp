#include "synth.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

namespace itw {
namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double c5Hz = 261.6255653;  // the pitch of note 60
constexpr double normalPeak = 0.95;   // every sample is normalised to this
constexpr double endFade = 0.004;     // seconds faded out at a one-shot's end
constexpr int maxSeconds = 8;
constexpr int maxHarmonics = 160;  // keeps very low base notes quick to make

// Everything a generator needs; it writes `out` and returns the fundamental it made.
struct Voice {
    const std::map<std::string, double>& p;
    double rate;
    double freq;         // the wanted fundamental (the base note's pitch)
    double loopSeconds;  // partials are snapped to whole cycles in the loop
    uint32_t seed;
    std::vector<double>& out;

    double operator[](const char* key) const { return p.at(key); }
    double snap(double f) const
    {
        return loopSeconds > 0 ? std::max(1.0, std::round(f * loopSeconds)) / loopSeconds : f;
    }
    double random()
    {  // xorshift32, in [-1, 1)
        seed ^= seed << 13;
        seed ^= seed >> 17;
        seed ^= seed << 5;
        return seed / 2147483648.0 - 1.0;
    }
};

using Generator = std::function<double(Voice&)>;

// Adds harmonics n = 1, 2, ... of f0 with amplitude amp(n, partial frequency), each
// snapped to the loop, up to a ceiling that leaves an octave of headroom to play up.
void addHarmonics(Voice& v, double f0, const std::function<double(int, double)>& amp)
{
    double ceiling = v.rate * 0.22;
    for (int n = 1; n * f0 < ceiling && n <= maxHarmonics; ++n) {
        double f = v.snap(n * f0), a = amp(n, f), phase = (v.random() + 1) * pi;
        if (a == 0) continue;
        double w = 2 * pi * f / v.rate;
        for (size_t i = 0; i < v.out.size(); ++i) v.out[i] += a * std::sin(w * double(i) + phase);
    }
}

double accordion(Voice& v)
{
    int reeds = std::max(1, int(v["reeds"]));
    double bright = v["bright"];
    auto reed = [&](int n, double) { return std::pow(bright, n - 1) / std::sqrt(n) * (n % 2 ? 1.0 : 0.6); };
    for (int r = 0; r < reeds; ++r) {
        double offset = (r - (reeds - 1) / 2.0) * v["detune"];
        addHarmonics(v, v.freq + offset, reed);
    }
    double octave = v["octave"];
    if (octave > 0) addHarmonics(v, 2 * v.freq, [&](int n, double f) { return octave * reed(n, f); });
    return v.snap(v.freq);
}

double pulse(Voice& v)
{
    double duty = v["duty"];
    addHarmonics(v, v.freq, [&](int n, double) { return std::sin(n * pi * duty) / n; });
    return v.snap(v.freq);
}

double sawStack(Voice& v)
{
    int voices = std::max(1, int(v["voices"]));
    double cutoff = v["cutoff"];
    for (int k = 0; k < voices; ++k) {
        double offset = (k - (voices - 1) / 2.0) * v["detune"];
        addHarmonics(v, v.freq + offset,
                     [&](int n, double f) { return 1.0 / n / (1 + (f / cutoff) * (f / cutoff)); });
    }
    return v.snap(v.freq);
}

double fm(Voice& v)
{
    double carrier = v.snap(v.freq), modulator = v.snap(v.freq * v["ratio"]);
    double index = v["index"], fall = v["idecay"];
    for (size_t i = 0; i < v.out.size(); ++i) {
        double t = double(i) / v.rate;
        double loopT = v.loopSeconds > 0 ? std::min(t, double(v.out.size()) / v.rate - v.loopSeconds) : t;
        double k = fall > 0 ? index * (0.25 + 0.75 * std::exp(-loopT / fall)) : index;
        v.out[i] = std::sin(2 * pi * carrier * t + k * std::sin(2 * pi * modulator * t));
    }
    return carrier;
}

double voice(Voice& v)
{
    const double formants[3] = {v["f1"], v["f2"], v["f3"]};
    const double level[3] = {1.0, 0.5, 0.18};
    double width = v["width"];
    addHarmonics(v, v.freq, [&](int n, double f) {
        double a = 0;
        for (int k = 0; k < 3; ++k) a += level[k] * std::exp(-std::pow((f - formants[k]) / width, 2));
        return (a + 0.02) / std::sqrt(n);
    });
    return v.snap(v.freq);
}

double pluck(Voice& v)
{
    int period = std::max(2, int(std::lround(v.rate / v.freq)));
    std::vector<double> line(static_cast<size_t>(period), 0.0);
    for (double& s : line) s = v.random();
    double damp = v["damp"];
    for (size_t i = 0; i < v.out.size(); ++i) {
        size_t k = i % size_t(period), next = (i + 1) % size_t(period);
        v.out[i] = line[k];
        line[k] = (1 - damp) * line[k] + damp * 0.5 * (line[k] + line[next]) * 0.999;
    }
    return v.rate / (period + 0.5 * damp);
}

double kick(Voice& v)
{
    double from = v["from"], to = v["to"], sweep = v["sweep"], phase = 0;
    for (size_t i = 0; i < v.out.size(); ++i) {
        double t = double(i) / v.rate;
        phase += 2 * pi * (to + (from - to) * std::exp(-t / sweep)) / v.rate;
        double click = t < 0.003 ? v.random() * (1 - t / 0.003) * v["click"] : 0;
        v.out[i] = std::sin(phase) + click;
    }
    return v.freq;
}

// Square waves at fixed inharmonic pitches: the metal of hats and cowbells.
double metal(Voice& v, const std::vector<double>& freqs, size_t i)
{
    double s = 0, t = double(i) / v.rate;
    for (double f : freqs) s += std::fmod(t * f, 1.0) < 0.5 ? 1 : -1;
    return s / double(freqs.size());
}

// A one-pole high-pass, run over the whole buffer.
void highPass(std::vector<double>& x, double cutoff, double rate)
{
    double a = 1 / (1 + 2 * pi * cutoff / rate), prevIn = 0, prevOut = 0;
    for (double& s : x) {
        double in = s;
        s = a * (prevOut + in - prevIn);
        prevIn = in;
        prevOut = s;
    }
}

void lowPass(std::vector<double>& x, double cutoff, double rate)
{
    double a = 1 - std::exp(-2 * pi * cutoff / rate), y = 0;
    for (double& s : x) {
        y += a * (s - y);
        s = y;
    }
}

double snare(Voice& v)
{
    double tone = v["tone"], mix = v["noise"];
    for (size_t i = 0; i < v.out.size(); ++i) {
        double t = double(i) / v.rate;
        v.out[i] = (1 - mix) * std::sin(2 * pi * tone * t) * std::exp(-t / 0.05) + mix * v.random();
    }
    highPass(v.out, v["hp"], v.rate);
    return v.freq;
}

double hat(Voice& v)
{
    const std::vector<double> freqs = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};
    double scale = v["pitch"], mix = v["noise"];
    std::vector<double> f;
    for (double x : freqs) f.push_back(x * scale);
    for (size_t i = 0; i < v.out.size(); ++i) v.out[i] = (1 - mix) * metal(v, f, i) + mix * v.random();
    highPass(v.out, v["hp"], v.rate);
    highPass(v.out, v["hp"], v.rate);
    return v.freq;
}

double cowbell(Voice& v)
{
    const std::vector<double> freqs = {540.0 * v["pitch"], 800.0 * v["pitch"]};
    for (size_t i = 0; i < v.out.size(); ++i) v.out[i] = metal(v, freqs, i);
    highPass(v.out, 400, v.rate);
    lowPass(v.out, 2500, v.rate);
    return v.freq;
}

double noise(Voice& v)
{
    for (double& s : v.out) s = v.random();
    highPass(v.out, v["hp"], v.rate);
    lowPass(v.out, v["lp"], v.rate);
    return v.freq;
}

struct Kind {
    const char* name;
    Generator make;
    bool sustains;  // takes loop and sustain
    std::map<std::string, double> params;
};

const std::vector<Kind>& kinds()
{
    static const std::vector<Kind> table = {
        {"acco", accordion, true, {{"reeds", 3}, {"detune", 2}, {"octave", 0.3}, {"bright", 0.8}}},
        {"pulse", pulse, true, {{"duty", 0.25}}},
        {"saw", sawStack, true, {{"voices", 3}, {"detune", 1}, {"cutoff", 3000}}},
        {"fm", fm, true, {{"ratio", 1}, {"index", 2}, {"idecay", 0}}},
        {"voice", voice, true, {{"f1", 500}, {"f2", 900}, {"f3", 2600}, {"width", 180}}},
        {"pluck", pluck, false, {{"damp", 0.5}}},
        {"kick", kick, false, {{"from", 160}, {"to", 45}, {"sweep", 0.04}, {"click", 0.3}}},
        {"snare", snare, false, {{"tone", 190}, {"noise", 0.6}, {"hp", 300}}},
        {"hat", hat, false, {{"pitch", 1}, {"noise", 0.4}, {"hp", 6000}}},
        {"cowbell", cowbell, false, {{"pitch", 1}}},
        {"noise", noise, false, {{"hp", 200}, {"lp", 12000}}},
    };
    return table;
}

const std::map<std::string, double>& commonParams()
{
    static const std::map<std::string, double> table = {{"vol", 64},     {"gvol", 64},      {"rate", 44100},
                                                        {"len", 1},      {"attack", 0.003}, {"decay", 0},
                                                        {"vibspeed", 0}, {"vibdepth", 0},   {"vibrate", 0}};
    return table;
}

// The recipe's numbers over the kind's defaults; false on an unknown key.
bool mergeParams(const Instrument& ins, const Kind& kind, std::map<std::string, double>& p,
                 std::string& error)
{
    p = commonParams();
    p.insert(kind.params.begin(), kind.params.end());
    if (kind.sustains) {
        p["loop"] = 0;
        p["sustain"] = 1;
    }
    for (const auto& [key, value] : ins.params) {
        if (!p.count(key)) {
            error = "unknown parameter '" + key + "' for kind '" + kind.name + "'";
            return false;
        }
        p[key] = value;
    }
    return true;
}

bool checkRanges(const std::map<std::string, double>& p, std::string& error)
{
    struct Range {
        const char* key;
        double low, high;
    };
    const Range ranges[] = {{"vol", 0, 64},
                            {"gvol", 0, 64},
                            {"rate", 8000, 96000},
                            {"len", 0.01, maxSeconds},
                            {"attack", 0, maxSeconds},
                            {"decay", 0, 60},
                            {"vibspeed", 0, 64},
                            {"vibdepth", 0, 64},
                            {"vibrate", 0, 64},
                            {"loop", 0, maxSeconds},
                            {"sustain", 0, 1},
                            {"reeds", 1, 7},
                            {"voices", 1, 9},
                            {"duty", 0, 0.5},
                            {"damp", 0, 1},
                            {"ratio", 0, 32},
                            {"index", 0, 50},
                            {"sweep", 0.001, 10},
                            {"width", 1, 20000},
                            {"tone", 1, 20000},
                            {"cutoff", 1, 48000},
                            {"hp", 1, 48000},
                            {"lp", 1, 48000},
                            {"from", 1, 20000},
                            {"to", 1, 20000},
                            {"pitch", 0.01, 100}};
    for (const Range& r : ranges) {
        auto it = p.find(r.key);
        if (it != p.end() && (it->second < r.low || it->second > r.high)) {
            error = std::string(r.key) + " must lie between " + std::to_string(r.low) + " and " +
                    std::to_string(r.high);
            return false;
        }
    }
    return true;
}

// Attack ramp, then a fall toward `sustain`; the loop holds the level it starts at.
void shape(std::vector<double>& x, const std::map<std::string, double>& p, double rate, size_t loopStart)
{
    double attack = p.at("attack"), decay = p.at("decay");
    double sustain = p.count("sustain") ? p.at("sustain") : 0;
    for (size_t i = 0; i < x.size(); ++i) {
        double t = double(std::min(i, loopStart)) / rate;
        double a = attack > 0 ? std::min(1.0, t / attack) : 1.0;
        double d = decay > 0 ? sustain + (1 - sustain) * std::exp(-t / decay) : 1.0;
        x[i] *= a * d;
    }
    if (loopStart < x.size()) return;
    size_t fade = std::min(x.size(), size_t(endFade * rate));
    for (size_t k = 0; k < fade; ++k) x[x.size() - 1 - k] *= double(k) / double(fade);
}

void toPcm(const std::vector<double>& x, std::vector<int16_t>& pcm)
{
    double peak = 1e-9;
    for (double s : x) peak = std::max(peak, std::abs(s));
    pcm.resize(x.size());
    for (size_t i = 0; i < x.size(); ++i) pcm[i] = int16_t(std::lround(x[i] / peak * normalPeak * 32767));
}

uint32_t hashName(const std::string& name)
{
    uint32_t h = 2166136261u;
    for (unsigned char c : name) h = (h ^ c) * 16777619u;
    return h ? h : 1;
}

}  // namespace

bool synthesize(const Instrument& ins, SampleData& out, std::string& error)
{
    auto kind =
        std::find_if(kinds().begin(), kinds().end(), [&](const Kind& k) { return ins.kind == k.name; });
    if (kind == kinds().end()) {
        error = "unknown instrument kind '" + ins.kind + "'";
        return false;
    }
    std::map<std::string, double> p;
    if (!mergeParams(ins, *kind, p, error) || !checkRanges(p, error)) return false;
    double rate = p["rate"];
    size_t loopStart = size_t(std::lround(p["len"] * rate));
    size_t loopLength = kind->sustains ? size_t(std::lround(p["loop"] * rate)) : 0;
    std::vector<double> x(loopStart + loopLength, 0.0);
    double wanted = c5Hz * std::pow(2.0, (ins.baseNote - 60) / 12.0);
    Voice v{p, rate, wanted, double(loopLength) / rate, hashName(ins.name), x};
    double made = kind->make(v);
    shape(x, p, rate, loopLength ? loopStart : x.size());
    out.name = ins.name;
    toPcm(x, out.pcm);
    out.loopStart = loopLength ? int(loopStart) : -1;
    out.loopEnd = loopLength ? int(x.size()) : -1;
    // At the base note the sample must sound `wanted`; it holds `made` at `rate`.
    out.c5Speed = int(std::lround(rate * c5Hz / made));
    out.volume = int(p["vol"]);
    out.globalVolume = int(p["gvol"]);
    out.vibSpeed = int(p["vibspeed"]);
    out.vibDepth = int(p["vibdepth"]);
    out.vibRate = int(p["vibrate"]);
    return true;
}

}  // namespace itw
