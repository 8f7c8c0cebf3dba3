// Turning a match (length, distance) into the decoder's symbols. The decoder
// lengthens far matches by itself (one more from 0x2000, another from 0x40000,
// and for the previous-distance codes also from 257), so the coded length is
// the real one minus that bonus.
#include "internal.h"

#include "archive/rar_format.h"

namespace rarpack::detail {
namespace {

using rarformat::distanceBase;
using rarformat::distanceBits;
using rarformat::lengthBase;
using rarformat::lengthBits;
using rarformat::shortBase;
using rarformat::shortBits;
constexpr std::uint32_t shortDistanceMax = 256;

std::uint32_t farBonus(std::uint32_t distance)
{
    return (distance >= rarformat::farBonusDistance1 ? 1u : 0u) +
           (distance >= rarformat::farBonusDistance2 ? 1u : 0u);
}

std::uint32_t repeatBonus(std::uint32_t distance)
{
    return farBonus(distance) + (distance >= rarformat::repeatBonusDistance ? 1u : 0u);
}

int lengthSlot(std::uint32_t value)
{
    int slot = rarformat::repeatLengthCount - 1;
    while (lengthBase[slot] > value) --slot;
    return slot;
}

int distanceSlot(std::uint32_t value)
{
    int lo = 0, hi = rarformat::distanceCount - 1;
    while (lo < hi) {  // last slot whose base is not above value
        const int mid = (lo + hi + 1) / 2;
        if (distanceBase[mid] <= value)
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}

int previousDistanceIndex(const LzCoderState& state, std::uint32_t distance)
{
    for (int k = 1; k <= 4; ++k)
        if (state.previousDistance[(state.distanceCount - k) & 3] == distance) return k;
    return 0;
}

bool repeatCodable(std::uint32_t length, std::uint32_t distance)
{
    const std::uint32_t bonus = repeatBonus(distance);
    return length >= 2 + bonus && length - 2 - bonus <= 255;
}

bool longCodable(std::uint32_t length, std::uint32_t distance)
{
    const std::uint32_t bonus = farBonus(distance);
    return length >= 3 + bonus && length - 3 - bonus <= 255;
}

void remember(LzCoderState& state, std::uint32_t length, std::uint32_t distance)
{
    state.previousDistance[state.distanceCount & 3] = distance;
    state.distanceCount++;
    state.lastDistance = distance;
    state.lastLength = length;
}

}  // namespace

bool matchIsCodable(const LzCoderState& state, std::uint32_t length, std::uint32_t distance)
{
    if (distance == 0 || distance > maxDistance || length < 2) return false;
    if (length == state.lastLength && distance == state.lastDistance) return true;
    if (previousDistanceIndex(state, distance) && repeatCodable(length, distance)) return true;
    if (length == 2 && distance <= shortDistanceMax) return true;
    return longCodable(length, distance);
}

namespace {

LzItem chooseCoding(const LzCoderState& state, std::uint32_t length, std::uint32_t distance)
{
    LzItem item{};
    const int previous = previousDistanceIndex(state, distance);
    if (length == state.lastLength && distance == state.lastDistance) {
        item.symbol = rarformat::lastMatchSymbol;
    } else if (previous && repeatCodable(length, distance)) {
        const std::uint32_t value = length - 2 - repeatBonus(distance);
        const int slot = lengthSlot(value);
        item.symbol = static_cast<std::uint16_t>(rarformat::lastMatchSymbol + previous);
        item.sub = static_cast<std::uint8_t>(slot);
        item.bitsB = lengthBits[slot];
        item.extraB = value - lengthBase[slot];
    } else if (length == 2 && distance <= shortDistanceMax) {
        int slot = 7;
        while (shortBase[slot] > distance - 1) --slot;
        item.symbol = static_cast<std::uint16_t>(rarformat::firstShortSymbol + slot);
        item.bitsA = shortBits[slot];
        item.extraA = distance - 1 - shortBase[slot];
    } else {
        const std::uint32_t value = length - 3 - farBonus(distance);
        const int slot = lengthSlot(value);
        const int dslot = distanceSlot(distance - 1);
        item.symbol = static_cast<std::uint16_t>(rarformat::firstLengthSymbol + slot);
        item.bitsA = lengthBits[slot];
        item.extraA = value - lengthBase[slot];
        item.sub = static_cast<std::uint8_t>(dslot);
        item.bitsB = distanceBits[dslot];
        item.extraB = distance - 1 - distanceBase[dslot];
    }
    return item;
}

}  // namespace

void codeMatch(LzCoderState& state, std::uint32_t length, std::uint32_t distance, std::vector<LzItem>& items)
{
    items.push_back(chooseCoding(state, length, distance));
    remember(state, length, distance);
}

int matchBits(const CostModel& model, const LzCoderState& state, std::uint32_t length, std::uint32_t distance)
{
    const LzItem item = chooseCoding(state, length, distance);
    int bits = model.bits[item.symbol] + item.bitsA + item.bitsB;
    if (hasSubSymbol(item.symbol)) bits += model.bits[subSymbolPlace(item.symbol) + item.sub];
    return bits;
}

void Pricing::cover(const std::uint8_t* history, std::size_t begin, std::size_t end)
{
    base = begin;
    literalSums.assign(end - begin + 1, 0);
    for (std::size_t p = begin; p < end; ++p)
        literalSums[p - begin + 1] = literalSums[p - begin] + model->bits[history[p]];
}

void setDefaultCosts(CostModel& model)
{
    for (unsigned i = 0; i < rarformat::lzLengthCount; ++i)
        model.bits[i] = i < 256 ? 8 : i < rarformat::literalCount ? 7 : 5;
}

// Symbols the tables left out are priced as if rare rather than impossible.
void updateCosts(CostModel& model, const std::uint8_t* lengths)
{
    constexpr std::uint8_t unusedBits = 12;
    for (unsigned i = 0; i < rarformat::lzLengthCount; ++i)
        model.bits[i] = lengths[i] ? lengths[i] : unusedBits;
}

}  // namespace rarpack::detail
