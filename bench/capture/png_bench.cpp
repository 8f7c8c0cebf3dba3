// PNG compression of captured frames: file size and encoding time (CPU time of
// this one thread, so other load does not count) for zlib levels and row filters,
// side by side, on frames given as PNG files (capture_speed.sh
// records an evening, a landscape and a text frame for it):
//   png_bench FRAME.png...
#include <png.h>

#include <cstdio>
#include <ctime>
#include <vector>

#include "png_io.h"
#include "tools/capture/png_encoder.h"

namespace {

struct Filter {
    const char* name;
    int flags;
};

const Filter filters[] = {{"none", PNG_FILTER_NONE},
                          {"sub", PNG_FILTER_SUB},
                          {"up", PNG_FILTER_UP},
                          {"paeth", PNG_FILTER_PAETH},
                          {"adaptive", PNG_ALL_FILTERS}};
const int levels[] = {1, 3, 6, 9};
constexpr int rounds = 3;

}  // namespace

int main(int argc, char** argv)
{
    std::vector<RgbaPicture> pictures(argc > 1 ? argc - 1 : 0);
    for (int i = 1; i < argc; ++i)
        if (!readPngRgba(argv[i], pictures[i - 1]).empty()) {
            std::fprintf(stderr, "png_bench: cannot read %s\n", argv[i]);
            return 1;
        }
    if (pictures.empty()) {
        std::fprintf(stderr, "usage: png_bench FRAME.png...\n");
        return 2;
    }
    std::printf("%-6s %-9s %12s %12s   (per frame, %zu frames)\n", "level", "filter", "bytes", "cpu ms",
                pictures.size());
    for (int level : levels)
        for (const Filter& filter : filters) {
            std::size_t bytes = 0;
            const std::clock_t start = std::clock();
            for (int r = 0; r < rounds; ++r)
                for (const RgbaPicture& p : pictures)
                    bytes +=
                        encodePng(p.pixels.data(), p.width, p.height, PngCompression{level, filter.flags})
                            .size();
            const double ms = 1000.0 * double(std::clock() - start) / CLOCKS_PER_SEC;
            const double n = double(rounds) * double(pictures.size());
            std::printf("%-6d %-9s %12.0f %12.2f\n", level, filter.name, double(bytes) / n, ms / n);
        }
    return 0;
}
