// Huffman code lengths, limited to the 15 bits the decoder's limit table knows,
// and the canonical codes the decoder derives from them.
#include "internal.h"

#include <algorithm>
#include <queue>

namespace rarpack::detail {
namespace {

struct Node {
    std::uint64_t weight;
    int left, right;  // children, -1 for a leaf
};

// Plain Huffman by merging the two lightest nodes; depth of each leaf into lengths.
int huffmanDepths(const std::uint32_t* freq, int count, std::uint8_t* lengths)
{
    std::vector<Node> nodes;
    using Item = std::pair<std::uint64_t, int>;
    std::priority_queue<Item, std::vector<Item>, std::greater<Item>> queue;
    for (int s = 0; s < count; ++s) {
        lengths[s] = 0;
        nodes.push_back({freq[s], -1, -1});
        if (freq[s] > 0) queue.push({freq[s], s});
    }
    if (queue.size() == 1) {  // one symbol still needs a one-bit code
        lengths[queue.top().second] = 1;
        return 1;
    }
    while (queue.size() > 1) {
        const Item a = queue.top();
        queue.pop();
        const Item b = queue.top();
        queue.pop();
        nodes.push_back({a.first + b.first, a.second, b.second});
        queue.push({a.first + b.first, static_cast<int>(nodes.size()) - 1});
    }
    int deepest = 0;
    std::vector<std::pair<int, int>> stack;
    if (!queue.empty()) stack.push_back({queue.top().second, 0});
    while (!stack.empty()) {
        const auto [node, depth] = stack.back();
        stack.pop_back();
        if (nodes[node].left < 0) {
            lengths[node] = static_cast<std::uint8_t>(depth);
            deepest = std::max(deepest, depth);
        } else {
            stack.push_back({nodes[node].left, depth + 1});
            stack.push_back({nodes[node].right, depth + 1});
        }
    }
    return deepest;
}

}  // namespace

void buildCodeLengths(const std::uint32_t* freq, int count, std::uint8_t* lengths, int maxLength)
{
    // Too deep a tree: flatten the statistics and try again. Each halving keeps
    // every used symbol at weight 1 or more, so the tree always comes out full.
    std::vector<std::uint32_t> weights(freq, freq + count);
    while (huffmanDepths(weights.data(), count, lengths) > maxLength) {
        for (std::uint32_t& w : weights)
            if (w > 0) w = (w + 1) / 2;
    }
}

void buildCodes(const std::uint8_t* lengths, int count, std::uint16_t* codes)
{
    int lengthCount[maxCodeLength + 1] = {};
    for (int s = 0; s < count; ++s) lengthCount[lengths[s]]++;
    lengthCount[0] = 0;
    std::uint32_t next[maxCodeLength + 2] = {};
    std::uint32_t code = 0;
    for (int len = 1; len <= maxCodeLength; ++len) {
        code = (code + lengthCount[len - 1]) << 1;
        next[len] = code;
    }
    for (int s = 0; s < count; ++s)
        codes[s] = lengths[s] ? static_cast<std::uint16_t>(next[lengths[s]]++) : 0;
}

}  // namespace rarpack::detail
