// itcheck: loads a module as the show's player does and prints what a composer
// cannot hear from here: warnings, length, peak, quiet stretches and the loudness
// of every second.   itcheck FILE.it [PASSES]
#include "modcheck.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

double decibels(double x) { return x > 0 ? 20 * std::log10(x) : -120; }

void printSeconds(const itw::ModuleReport& r)
{
    size_t perSecond = size_t(1 / itw::windowSeconds);
    for (size_t s = 0; s * perSecond < r.windowRms.size(); ++s) {
        double sum = 0;
        size_t n = 0;
        for (size_t k = s * perSecond; k < (s + 1) * perSecond && k < r.windowRms.size(); ++k, ++n)
            sum += r.windowRms[k] * r.windowRms[k];
        double db = decibels(std::sqrt(sum / double(n)));
        std::printf("%4zu s %6.1f dB %s\n", s, db, std::string(size_t(std::max(0.0, 60 + db)), '#').c_str());
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: itcheck FILE.it [PASSES]\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "itcheck: cannot read %s\n", argv[1]);
        return 1;
    }
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    int passes = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1;
    itw::ModuleReport r = itw::checkModule(bytes, 44100, passes);
    if (!r.loaded) {
        std::fprintf(stderr, "itcheck: %s: %s\n", argv[1], r.error.c_str());
        return 1;
    }
    printSeconds(r);
    std::printf("channels %d, samples %d, patterns %d, orders %d\n", r.channels, r.samples, r.patterns,
                r.orders);
    std::printf("one pass %.2f s, peak %.2f dBFS, longest quiet %.1f s at %.1f s\n", r.seconds,
                decibels(r.peak), r.longestQuiet, r.longestQuietAt);
    std::printf("loader log: %s\n", r.log.empty() ? "(empty)" : r.log.c_str());
    return r.log.empty() ? 0 : 1;
}
