#pragma once
#include <cstdint>

// The constants and position slots of the LZX bitstream, as the CHM readers
// decode it.

namespace qv {

constexpr unsigned kLzxFrameSize = 32768;  // output bytes between two word alignments
constexpr unsigned kLzxMinMatch = 2;
constexpr unsigned kLzxMaxMatch = 257;
constexpr unsigned kLzxLiterals = 256;
constexpr unsigned kLzxPrimaryLengths = 7;     // length headers in the main symbol
constexpr unsigned kLzxLengthSymbols = 249;    // the length tree: the rest of longer matches
constexpr unsigned kLzxMaxPositionSlots = 50;  // of a 2 MiB window
constexpr unsigned kLzxMaxMainSymbols = kLzxLiterals + 8 * kLzxMaxPositionSlots;
constexpr unsigned kLzxAlignedSymbols = 8;
constexpr unsigned kLzxPretreeSymbols = 20;
constexpr unsigned kLzxRepeatedOffsets = 3;  // R0, R1, R2: formatted offsets 0 to 2

enum class LzxBlockType : std::uint8_t { Verbatim = 1, Aligned = 2, Uncompressed = 3 };

// Position slots of a window: the first whose base reaches the window size.
inline unsigned lzxPositionSlots(unsigned windowBits) {
    return windowBits == 21 ? 50 : windowBits == 20 ? 42 : 2 * windowBits;
}

inline unsigned lzxExtraBits(unsigned slot) { return slot < 4 ? 0 : slot < 36 ? slot / 2 - 1 : 17; }

inline std::uint32_t lzxPositionBase(unsigned slot) {
    if (slot < 4) return slot;
    if (slot < 36) return (2u + (slot & 1)) << (slot / 2 - 1);
    return (1u << 18) + ((slot - 36) << 17);
}

// The slot of a formatted offset (a real offset plus 2, or 0 to 2 for R0 to R2).
inline unsigned lzxSlotOf(std::uint32_t formatted) {
    if (formatted < 4) return formatted;
    if (formatted >= (1u << 18)) return 36 + ((formatted - (1u << 18)) >> 17);
    const unsigned top = 31 - static_cast<unsigned>(__builtin_clz(formatted));
    return 2 * top + ((formatted >> (top - 1)) & 1);
}

// One step of the parse: a literal byte, or a match of length bytes.
struct LzxItem {
    std::uint32_t formattedOffset = 0;  // matches only
    std::uint16_t length = 0;           // 0 for a literal
    std::uint8_t literal = 0;
};

}  // namespace qv
