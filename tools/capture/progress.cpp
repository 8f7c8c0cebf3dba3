// The progress line.
#include "tools/capture/progress.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int barWidth = 30;

std::string minutesAndSeconds(double seconds)
{
    long whole = long(std::max(0.0, seconds) + 0.5);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
    return text;
}

}  // namespace

std::string progressLine(double done, double total, double wall, unsigned long long frames)
{
    char text[160];
    double fps = wall > 0 ? double(frames) / wall : 0.0;
    if (total <= 0) {
        std::snprintf(text, sizeof text, "%8.1f s  %llu frames  %.0f fps", done, frames, fps);
        return text;
    }
    double fraction = std::clamp(done / total, 0.0, 1.0);
    int filled = int(fraction * barWidth);
    std::string bar =
        std::string(std::size_t(filled), '#') + std::string(std::size_t(barWidth - filled), '.');
    std::string left = fraction > 0 ? minutesAndSeconds(wall * (1 - fraction) / fraction) : "?";
    std::snprintf(text, sizeof text, "%8.1f / %.1f s [%s] %3d%%  %.0f fps  left %s", done, total, bar.c_str(),
                  int(fraction * 100), fps, left.c_str());
    return text;
}
