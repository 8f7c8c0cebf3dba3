// LZ parse with lazy matching: a match found at one position is put off by a
// literal when the next position offers a better one.
#include "internal.h"

namespace rarpack::detail {
namespace {

int savedBits(const LzCoderState& state, const Match& m)
{
    return m.length == 0 ? 0 : static_cast<int>(8 * m.length) - matchCostEstimate(state, m.length, m.distance);
}

Match findAndInsert(MatchFinder& finder, const LzCoderState& state, const std::uint8_t* history, std::size_t pos,
                    std::size_t limit)
{
    const Match m = longestMatch(finder, state, history, pos, limit);
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

std::size_t parseLz(MatchFinder& finder, LzCoderState& state, const std::uint8_t* history, std::size_t begin,
                    std::size_t goal, std::size_t limit, std::vector<LzItem>& items)
{
    std::size_t pos = begin;
    if (pos >= goal) return pos;
    Match current = findAndInsert(finder, state, history, pos, limit);
    for (;;) {
        if (current.length == 0) {
            pushLiteral(items, history[pos++]);
        } else {
            if (finder.lazy && current.length < static_cast<std::uint32_t>(finder.niceLength) && pos + 1 < limit) {
                const Match next = findAndInsert(finder, state, history, pos + 1, limit);
                if (savedBits(state, next) > savedBits(state, current)) {
                    pushLiteral(items, history[pos++]);
                    current = next;
                    continue;
                }
                for (std::size_t p = pos + 2; p < pos + current.length; ++p) insertPosition(finder, history, p, limit);
            } else {
                for (std::size_t p = pos + 1; p < pos + current.length; ++p) insertPosition(finder, history, p, limit);
            }
            codeMatch(state, current.length, current.distance, items);
            pos += current.length;
        }
        if (pos >= goal) return pos;
        current = findAndInsert(finder, state, history, pos, limit);
    }
}

}  // namespace rarpack::detail
