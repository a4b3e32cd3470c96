#pragma once
#include <cstdint>
#include <vector>

namespace qv {

// Code lengths of a Huffman code for the given symbol frequencies, none
// longer than maxBits. Symbols that never occur get length 0. The code is
// always complete, with at least two symbols, even when fewer occur: the
// older LZX decoders refuse a table that leaves codes unused.
std::vector<std::uint8_t> huffmanLengths(const std::vector<std::uint32_t>& frequencies,
                                         unsigned maxBits);

// The canonical codes for those lengths: shorter codes first, and among
// codes of one length, the lower symbol first (how LZX decoders rebuild them).
std::vector<std::uint16_t> canonicalCodes(const std::vector<std::uint8_t>& lengths);

}  // namespace qv
