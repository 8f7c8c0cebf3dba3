// The generator of the show's random numbers (a linear congruential sequence).
#include "gfx/random.h"

RandomState randomState;

namespace {

constexpr std::uint32_t multiplier = 214013;
constexpr std::uint32_t increment = 2531011;
constexpr int valueShift = 16;
constexpr std::uint32_t valueMask = 0x7FFF;

}  // namespace

int nextRandom()
{
    // Unsigned arithmetic wraps at 2^32, as the sequence wants.
    randomState.state = randomState.state * multiplier + increment;
    return static_cast<int>((randomState.state >> valueShift) & valueMask);
}
