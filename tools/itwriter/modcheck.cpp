#include "modcheck.h"

#include <libopenmpt/libopenmpt.hpp>

#include <cmath>
#include <sstream>

namespace itw {
namespace {

constexpr size_t chunkFrames = 4096;

void measure(openmpt::module& mod, int rate, ModuleReport& r)
{
    size_t window = size_t(rate * windowSeconds), filled = 0, quietRun = 0;
    double sum = 0;
    std::vector<float> buf(chunkFrames * 2);
    for (;;) {
        size_t got = mod.read_interleaved_stereo(rate, chunkFrames, buf.data());
        if (got == 0) break;
        for (size_t i = 0; i < got; ++i) {
            double l = buf[2 * i], rgt = buf[2 * i + 1];
            r.peak = std::max(r.peak, std::max(std::abs(l), std::abs(rgt)));
            sum += (l * l + rgt * rgt) / 2;
            if (++filled < window) continue;
            double rms = std::sqrt(sum / double(window));
            r.windowRms.push_back(rms);
            quietRun = rms < quietRms ? quietRun + 1 : 0;
            if (quietRun * windowSeconds > r.longestQuiet) {
                r.longestQuiet = double(quietRun) * windowSeconds;
                r.longestQuietAt = double(r.windowRms.size() - quietRun) * windowSeconds;
            }
            filled = 0;
            sum = 0;
        }
    }
}

}  // namespace

ModuleReport checkModule(const std::vector<char>& bytes, int rate, int passes)
{
    ModuleReport r;
    std::ostringstream log;
    try {
        openmpt::module mod(bytes, log);
        r.loaded = true;
        r.channels = mod.get_num_channels();
        r.samples = mod.get_num_samples();
        r.patterns = mod.get_num_patterns();
        r.orders = mod.get_num_orders();
        r.seconds = mod.get_duration_seconds();
        mod.set_repeat_count(passes - 1);
        measure(mod, rate, r);
    } catch (const std::exception& e) {
        r.error = e.what();
    }
    r.log = log.str();
    return r;
}

}  // namespace itw
