// Bit writer: the decoder peeks 16 bits most significant first, so codes and
// extra bits go out high bit first and bytes fill from their top bit down.
#include "internal.h"

namespace rarpack::detail {

void putBits(BitWriter& out, std::uint32_t value, int count)
{
    // count is at most 16 (a code or a distance's extra bits), so pending never
    // holds more than 7 + 16 bits.
    out.pending = (out.pending << count) | (value & ((1u << count) - 1u));
    out.pendingCount += count;
    while (out.pendingCount >= 8) {
        out.pendingCount -= 8;
        out.bytes.push_back(static_cast<std::uint8_t>(out.pending >> out.pendingCount));
    }
    out.pending &= (1u << out.pendingCount) - 1u;
}

void flushBits(BitWriter& out)
{
    if (out.pendingCount > 0) putBits(out, 0, 8 - out.pendingCount);
}

}  // namespace rarpack::detail
