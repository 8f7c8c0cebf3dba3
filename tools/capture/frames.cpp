// Frame choice for picture output.
#include "tools/capture/frames.h"

#include <algorithm>

FrameSelector::FrameSelector(std::vector<double> asked, int everyK) : times(std::move(asked)), every(everyK)
{
    std::sort(times.begin(), times.end());
    if (times.empty() && every <= 0) every = 1;
}

// Several asked times passed within one frame all name that one frame.
bool FrameSelector::take(std::uint64_t frame, double clockTime)
{
    bool chosen = every > 0 && frame % std::uint64_t(every) == 0;
    while (nextTime < times.size() && clockTime >= times[nextTime]) {
        chosen = true;
        ++nextTime;
    }
    return chosen;
}

std::vector<double> FrameSelector::unreached() const
{
    return std::vector<double>(times.begin() + std::ptrdiff_t(nextTime), times.end());
}
