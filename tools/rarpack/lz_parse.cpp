// LZ parse with lazy matching: a match found at one position is put off by a
// literal when the next position offers a better one.
#include "internal.h"

#include <algorithm>

namespace rarpack::detail {
namespace {

Match findAndInsert(MatchFinder& finder, const Pricing& model, const LzCoderState& state,
                    const std::uint8_t* history, std::size_t pos, std::size_t limit)
{
    const Match m = longestMatch(finder, model, state, history, pos, limit);
    insertPosition(finder, history, pos, limit);
    return m;
}

void pushLiteral(std::vector<LzItem>& items, std::uint8_t byte)
{
    LzItem item{};
    item.symbol = byte;
    items.push_back(item);
}

}  // namespace

std::size_t parseLz(MatchFinder& finder, const CostModel& costs, LzCoderState& state,
                    const std::uint8_t* history, std::size_t begin, std::size_t goal, std::size_t limit,
                    std::vector<LzItem>& items)
{
    std::size_t pos = begin;
    if (pos >= goal) return pos;
    Pricing pricing;
    pricing.model = &costs;
    pricing.cover(history, begin, std::min(limit, goal + maxMatch + 1));
    const Pricing& model = pricing;
    Match current = findAndInsert(finder, model, state, history, pos, limit);
    for (;;) {
        if (current.length == 0) {
            pushLiteral(items, history[pos++]);
        } else {
            // A match is put off only while it starts inside the segment, which
            // keeps every match within the priced span.
            if (finder.lazy && current.length < static_cast<std::uint32_t>(finder.niceLength) &&
                pos + 1 < goal) {
                const Match next = findAndInsert(finder, model, state, history, pos + 1, limit);
                if (pricing.saved(state, pos + 1, next.length, next.distance) >
                    pricing.saved(state, pos, current.length, current.distance)) {
                    pushLiteral(items, history[pos++]);
                    current = next;
                    continue;
                }
                for (std::size_t p = pos + 2; p < pos + current.length; ++p)
                    insertPosition(finder, history, p, limit);
            } else {
                for (std::size_t p = pos + 1; p < pos + current.length; ++p)
                    insertPosition(finder, history, p, limit);
            }
            codeMatch(state, current.length, current.distance, items);
            pos += current.length;
        }
        if (pos >= goal) return pos;
        current = findAndInsert(finder, model, state, history, pos, limit);
    }
}

}  // namespace rarpack::detail
