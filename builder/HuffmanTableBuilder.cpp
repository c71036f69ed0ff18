#include "builder/HuffmanTableBuilder.h"

#include "engine/Bytes.h"

#include <algorithm>
#include <queue>
#include <vector>

namespace {

constexpr int kMaxCodeLength = 32;
constexpr int kTreeOffset = 3072;

// Huffman code lengths for the symbols with a non-zero weight; ties broken by creation order so the
// same counts always give the same table.
std::array<int, 256> codeLengths(const SymbolCounts& weights)
{
    struct Node {
        uint64_t weight;
        int order;
        int left;
        int right;
        int symbol;
    };
    std::vector<Node> nodes;
    using Item = std::pair<uint64_t, int>; // weight, node index
    std::priority_queue<Item, std::vector<Item>, std::greater<>> queue;
    for (int c = 0; c < 256; ++c) {
        if (weights[c] == 0)
            continue;
        nodes.push_back({weights[c], static_cast<int>(nodes.size()), -1, -1, c});
        queue.emplace(weights[c], static_cast<int>(nodes.size()) - 1);
    }
    std::array<int, 256> lengths{};
    if (nodes.size() == 1) {
        lengths[nodes[0].symbol] = 1;
        return lengths;
    }
    while (queue.size() > 1) {
        const auto [wa, a] = queue.top();
        queue.pop();
        const auto [wb, b] = queue.top();
        queue.pop();
        const uint64_t w = (wa > UINT64_MAX - wb) ? UINT64_MAX : wa + wb;
        nodes.push_back({w, static_cast<int>(nodes.size()), a, b, -1});
        queue.emplace(w, static_cast<int>(nodes.size()) - 1);
    }
    // Depth of every leaf, walking down from the root (the last node made).
    std::vector<std::pair<int, int>> stack{{static_cast<int>(nodes.size()) - 1, 0}};
    while (!stack.empty()) {
        const auto [n, depth] = stack.back();
        stack.pop_back();
        if (nodes[n].symbol >= 0) {
            lengths[nodes[n].symbol] = depth;
        } else {
            stack.emplace_back(nodes[n].left, depth + 1);
            stack.emplace_back(nodes[n].right, depth + 1);
        }
    }
    return lengths;
}

} // namespace

void countSymbols(SymbolCounts& counts, std::string_view text)
{
    for (char ch : text)
        ++counts[static_cast<uint8_t>(ch)];
    ++counts[0];
}

std::array<uint8_t, huffman::kTableSize> buildHuffmanTable(const SymbolCounts& counts)
{
    SymbolCounts weights = counts;
    if (weights[0] == 0)
        weights[0] = 1; // the terminator must always be codable

    std::array<int, 256> lengths = codeLengths(weights);
    // Very skewed counts can need codes longer than the table holds: flatten the counts (keeping
    // every used symbol above zero) until the longest code fits.
    while (*std::max_element(lengths.begin(), lengths.end()) > kMaxCodeLength) {
        for (uint64_t& w : weights)
            if (w != 0)
                w = (w >> 1) | 1;
        lengths = codeLengths(weights);
    }

    // Canonical codes: shorter codes first, then by byte value.
    std::vector<int> order;
    for (int c = 0; c < 256; ++c)
        if (lengths[c] > 0)
            order.push_back(c);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return lengths[a] < lengths[b]; });

    std::array<uint8_t, huffman::kTableSize> table{};
    std::array<uint32_t, 256> codes{};
    uint64_t code = 0;
    int previous = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        const int c = order[i];
        if (i > 0)
            ++code;
        code <<= (lengths[c] - previous);
        previous = lengths[c];
        codes[c] = static_cast<uint32_t>(code << (32 - lengths[c]));
    }
    for (int c = 0; c < 256; ++c) {
        bytes::setLe32(&table[12 * c], static_cast<uint32_t>(std::min<uint64_t>(counts[c], UINT32_MAX)));
        bytes::setLe32(&table[12 * c + 4], codes[c]);
        bytes::setLe32(&table[12 * c + 8], static_cast<uint32_t>(lengths[c]));
    }

    // Decoding tree: node 0 is the root; inner nodes are made as the codes' paths need them. A
    // complete code set gives 2n - 1 nodes, at most 511.
    std::array<uint32_t, huffman::kNodes> child0{}, child1{}, parent{};
    std::array<uint8_t, huffman::kNodes> symbol{};
    uint32_t next = 1;
    for (int c : order) {
        uint32_t node = 0;
        for (int i = 0; i < lengths[c]; ++i) {
            const bool one = (codes[c] >> (31 - i)) & 1u;
            uint32_t& child = one ? child1[node] : child0[node];
            if (child == 0) {
                child = next;
                parent[next] = node;
                ++next;
            }
            node = child;
        }
        symbol[node] = static_cast<uint8_t>(c);
    }
    if (order.size() == 1)
        child1[0] = child0[0]; // a lone symbol: either bit leads to it
    for (uint32_t n = 0; n < huffman::kNodes; ++n) {
        uint8_t* p = &table[kTreeOffset + 16 * n];
        p[0] = symbol[n];
        bytes::setLe32(p + 4, parent[n]);
        bytes::setLe32(p + 8, child0[n]);
        bytes::setLe32(p + 12, child1[n]);
    }
    return table;
}

huffman makeHuffman(const SymbolCounts& counts)
{
    const auto table = buildHuffmanTable(counts);
    huffman h;
    h.loadBytes(table.data(), table.size());
    return h;
}
