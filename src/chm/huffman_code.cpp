#include "chm/huffman_code.h"

#include <algorithm>
#include <numeric>

namespace qv {

namespace {

// Depth of every leaf in a Huffman tree built over the symbols, given in
// ascending order of frequency (two queues: leaves, then merged nodes,
// which come out in ascending order by construction).
std::vector<unsigned> leafDepths(const std::vector<std::uint32_t>& frequencies,
                                 const std::vector<unsigned>& ascending) {
    const std::size_t leaves = ascending.size();
    std::vector<std::uint64_t> weight(2 * leaves - 1);
    std::vector<std::size_t> parent(2 * leaves - 1, 0);
    for (std::size_t i = 0; i < leaves; ++i) weight[i] = frequencies[ascending[i]];
    std::size_t nextLeaf = 0;
    std::size_t nextNode = leaves;
    auto takeSmallest = [&](std::size_t made) {
        if (nextLeaf < leaves && (nextNode >= made || weight[nextLeaf] <= weight[nextNode])) {
            return nextLeaf++;
        }
        return nextNode++;
    };
    for (std::size_t made = leaves; made < 2 * leaves - 1; ++made) {
        const std::size_t a = takeSmallest(made);
        const std::size_t b = takeSmallest(made);
        weight[made] = weight[a] + weight[b];
        parent[a] = parent[b] = made;
    }
    // Nodes are made after their children, so depths fill from the root down.
    std::vector<unsigned> depth(2 * leaves - 1, 0);
    for (std::size_t node = 2 * leaves - 2; node-- > 0;) depth[node] = depth[parent[node]] + 1;
    depth.resize(leaves);
    return depth;
}

// Moves leaves deeper than maxBits up, keeping the code complete: two
// leaves of the deepest level leave it, one takes their parent's place a
// level up, and the other pairs with a leaf from the deepest level that
// still has room below, which becomes their parent.
void limitDepths(std::vector<unsigned>& countAtDepth, unsigned maxBits) {
    for (unsigned depth = static_cast<unsigned>(countAtDepth.size()) - 1; depth > maxBits;
         --depth) {
        while (countAtDepth[depth] > 0) {
            unsigned shallower = depth - 2;
            while (countAtDepth[shallower] == 0) --shallower;
            countAtDepth[depth] -= 2;
            countAtDepth[depth - 1] += 1;
            countAtDepth[shallower + 1] += 2;
            countAtDepth[shallower] -= 1;
        }
    }
}

}  // namespace

std::vector<std::uint8_t> huffmanLengths(const std::vector<std::uint32_t>& frequencies,
                                         unsigned maxBits) {
    std::vector<std::uint8_t> lengths(frequencies.size(), 0);
    std::vector<unsigned> used;
    for (unsigned s = 0; s < frequencies.size(); ++s) {
        if (frequencies[s] > 0) used.push_back(s);
    }
    if (used.size() < 2) {
        // One code of length 1 would leave the other unused: give a second
        // symbol the other one.
        const unsigned first = used.empty() ? 0 : used[0];
        lengths[first] = 1;
        lengths[first == 0 ? 1 : 0] = 1;
        return lengths;
    }
    std::vector<unsigned> ascending = used;
    std::stable_sort(ascending.begin(), ascending.end(),
                     [&](unsigned a, unsigned b) { return frequencies[a] < frequencies[b]; });
    const std::vector<unsigned> depth = leafDepths(frequencies, ascending);
    std::vector<unsigned> countAtDepth(*std::max_element(depth.begin(), depth.end()) + 1, 0);
    for (unsigned d : depth) ++countAtDepth[d];
    limitDepths(countAtDepth, maxBits);
    // The most frequent symbols take the shortest codes.
    std::size_t rank = ascending.size();
    for (unsigned d = 1; d < countAtDepth.size(); ++d) {
        for (unsigned i = 0; i < countAtDepth[d]; ++i) {
            lengths[ascending[--rank]] = static_cast<std::uint8_t>(d);
        }
    }
    return lengths;
}

std::vector<std::uint16_t> canonicalCodes(const std::vector<std::uint8_t>& lengths) {
    const unsigned maxBits =
        lengths.empty() ? 0 : *std::max_element(lengths.begin(), lengths.end());
    std::vector<unsigned> countOfLength(maxBits + 1, 0);
    for (std::uint8_t length : lengths) {
        if (length > 0) ++countOfLength[length];
    }
    std::vector<unsigned> next(maxBits + 2, 0);
    for (unsigned bits = 1; bits <= maxBits; ++bits) {
        next[bits + 1] = (next[bits] + countOfLength[bits]) << 1;
    }
    std::vector<std::uint16_t> codes(lengths.size(), 0);
    for (std::size_t s = 0; s < lengths.size(); ++s) {
        if (lengths[s] > 0) codes[s] = static_cast<std::uint16_t>(next[lengths[s]]++);
    }
    return codes;
}

}  // namespace qv
