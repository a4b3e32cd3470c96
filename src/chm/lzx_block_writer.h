#pragma once
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "chm/lzx_bit_writer.h"
#include "chm/lzx_format.h"

namespace qv {

// The code lengths of the last verbatim or aligned block: the decoder keeps
// them between blocks, and the next trees are written as changes to them.
// All zero at a reset.
struct LzxTreeLengths {
    std::array<std::uint8_t, kLzxMaxMainSymbols> main{};
    std::array<std::uint8_t, kLzxLengthSymbols> length{};
};

// Writes one block holding the items, which decode to raw: as a verbatim,
// aligned-offset or uncompressed block, whichever is the smallest.
// repeatsAfter: R0-R2 once the items are decoded (an uncompressed block
// stores them). Returns the block type written.
LzxBlockType writeLzxBlock(LzxBitWriter& out, const std::vector<LzxItem>& items,
                           std::string_view raw, unsigned positionSlots,
                           const std::array<std::uint32_t, 3>& repeatsAfter,
                           LzxTreeLengths& previous);

}  // namespace qv
