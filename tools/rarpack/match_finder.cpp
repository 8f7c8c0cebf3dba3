// LZ match finder: hash chains over three-byte prefixes, reaching back as far as
// the decoder's 1 MiB window, plus a look at the four previous distances, which
// the decoder codes cheaply.
#include "internal.h"

namespace rarpack::detail {
namespace {

constexpr int hashBits = 17;
constexpr std::uint32_t chainMask = rarformat::windowSize - 1;

struct EffortLevel {
    int maxChain, niceLength;
    bool lazy;
};
constexpr EffortLevel effortLevels[9] = {{4, 8, false},     {8, 16, false},    {16, 32, true},
                                         {64, 64, true},    {256, 160, true},  {512, 257, true},
                                         {1024, 257, true}, {2048, 257, true}, {4096, 257, true}};

std::uint32_t hashAt(const std::uint8_t* p)
{
    const std::uint32_t v = p[0] | (p[1] << 8) | (p[2] << 16);
    return (v * 2654435761u) >> (32 - hashBits);
}

std::uint32_t commonLength(const std::uint8_t* a, const std::uint8_t* b, std::uint32_t max)
{
    std::uint32_t n = 0;
    while (n < max && a[n] == b[n]) ++n;
    return n;
}

void consider(const Pricing& pricing, const LzCoderState& state, std::size_t pos, Match candidate,
              Match& best, int& bestSaving)
{
    if (candidate.length < 2 || !matchIsCodable(state, candidate.length, candidate.distance)) return;
    const int saving = pricing.saved(state, pos, candidate.length, candidate.distance);
    if (saving > bestSaving) best = candidate, bestSaving = saving;
}

}  // namespace

void setUpMatchFinder(MatchFinder& finder, int effort)
{
    const EffortLevel& level = effortLevels[(effort < 1 ? 1 : effort > 9 ? 9 : effort) - 1];
    finder.head.assign(std::size_t{1} << hashBits, 0);
    finder.chain.assign(rarformat::windowSize, 0);
    finder.maxChain = level.maxChain;
    finder.niceLength = level.niceLength;
    finder.lazy = level.lazy;
}

void insertPosition(MatchFinder& finder, const std::uint8_t* history, std::size_t pos, std::size_t end)
{
    if (pos + 3 > end) return;
    const std::uint32_t h = hashAt(history + pos);
    finder.chain[pos & chainMask] = finder.head[h];
    finder.head[h] = static_cast<std::uint32_t>(pos + 1);
}

Match longestMatch(const MatchFinder& finder, const Pricing& pricing, const LzCoderState& state,
                   const std::uint8_t* history, std::size_t pos, std::size_t end)
{
    Match best;
    int bestSaving = 0;
    const std::uint32_t room = static_cast<std::uint32_t>(std::min<std::size_t>(maxMatch, end - pos));
    if (room < 2) return best;
    for (int k = 0; k < 4; ++k) {
        const std::uint32_t distance = state.previousDistance[k];
        if (distance == 0 || distance > pos) continue;
        consider(pricing, state, pos, {commonLength(history + pos, history + pos - distance, room), distance},
                 best, bestSaving);
    }
    if (room < 3) return best;
    std::uint32_t node = finder.head[hashAt(history + pos)];
    for (int steps = 0; node != 0 && steps < finder.maxChain; ++steps) {
        const std::size_t candidate = node - 1;
        if (candidate >= pos || pos - candidate > maxDistance) break;
        const std::uint8_t* p = history + candidate;
        if (p[best.length < room ? best.length : 0] ==
            history[pos + (best.length < room ? best.length : 0)]) {
            // Older candidates lie farther back: only a longer match can pay for that.
            const std::uint32_t length = commonLength(history + pos, p, room);
            if (length > best.length)
                consider(pricing, state, pos, {length, static_cast<std::uint32_t>(pos - candidate)}, best,
                         bestSaving);
            if (best.length >= room || best.length >= static_cast<std::uint32_t>(finder.niceLength)) break;
        }
        const std::uint32_t next = finder.chain[candidate & chainMask];
        if (next >= node) break;
        node = next;
    }
    return best;
}

}  // namespace rarpack::detail
