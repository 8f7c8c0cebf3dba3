// Which frames a capture writes as pictures: every K-th, and the first frame at
// which the clock reaches each asked time. With neither asked, every frame.
#pragma once

#include <cstdint>
#include <vector>

class FrameSelector {
public:
    FrameSelector(std::vector<double> times, int every);
    // Frames are asked in order; true when this one is to be written.
    bool take(std::uint64_t frame, double clockTime);
    // The asked times that no frame has reached (yet).
    std::vector<double> unreached() const;

private:
    std::vector<double> times;  // ascending
    std::size_t nextTime = 0;
    int every;
};
