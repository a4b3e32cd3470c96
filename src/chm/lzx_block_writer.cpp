#include "chm/lzx_block_writer.h"

#include <algorithm>
#include <optional>

#include "chm/huffman_code.h"

namespace qv {

namespace {

constexpr unsigned kMaxCodeBits = 16;     // the longest code LZX decoders take
constexpr unsigned kMaxPretreeBits = 15;  // pretree lengths are stored in 4 bits
constexpr unsigned kMaxAlignedBits = 7;   // aligned lengths are stored in 3 bits

struct Code {
    std::vector<std::uint8_t> lengths;
    std::vector<std::uint16_t> codes;

    Code(const std::vector<std::uint32_t>& frequencies, unsigned maxBits)
        : lengths(huffmanLengths(frequencies, maxBits)), codes(canonicalCodes(lengths)) {}
    void put(LzxBitWriter& out, unsigned symbol) const { out.put(codes[symbol], lengths[symbol]); }
};

// One step of a tree's lengths in pretree symbols: 0-16 change one length,
// 17 and 18 write runs of zeros, 19 a run of one changed length.
struct PretreeStep {
    std::uint8_t symbol;
    std::uint8_t extra;   // the run length, less its minimum (17, 18, 19)
    std::uint8_t change;  // 19: the pretree symbol of the change
};

std::uint8_t changeSymbol(std::uint8_t before, std::uint8_t after) {
    return static_cast<std::uint8_t>((before + 17 - after) % 17);
}

// The steps that turn previous into lengths; sameRuns: whether runs of one
// non-zero length go into symbol 19 (cheaper or not, depending on the pretree).
std::vector<PretreeStep> pretreeSteps(const std::uint8_t* lengths, const std::uint8_t* previous,
                                      unsigned count, bool sameRuns) {
    std::vector<PretreeStep> steps;
    for (unsigned i = 0; i < count;) {
        unsigned run = 1;
        while (i + run < count && lengths[i + run] == lengths[i]) ++run;
        if (lengths[i] == 0 && run >= 20) {
            run = std::min(run, 51u);
            steps.push_back({18, static_cast<std::uint8_t>(run - 20), 0});
        } else if (lengths[i] == 0 && run >= 4) {
            steps.push_back({17, static_cast<std::uint8_t>(run - 4), 0});
        } else if (lengths[i] != 0 && run >= 4 && sameRuns) {
            run = std::min(run, 5u);
            steps.push_back(
                {19, static_cast<std::uint8_t>(run - 4), changeSymbol(previous[i], lengths[i])});
        } else {
            run = 1;
            steps.push_back({changeSymbol(previous[i], lengths[i]), 0, 0});
        }
        i += run;
    }
    return steps;
}

unsigned extraBitsOfStep(std::uint8_t symbol) {
    return symbol == 17 ? 4 : symbol == 18 ? 5 : symbol == 19 ? 1 : 0;
}

// A tree's lengths as LZX stores them: a pretree of 20 lengths in 4 bits
// each, then the steps in its codes. Either writes them or only counts the
// bits.
class TreeEncoding {
public:
    TreeEncoding(const std::uint8_t* lengths, const std::uint8_t* previous, unsigned count) {
        for (bool sameRuns : {false, true}) {
            std::vector<PretreeStep> steps = pretreeSteps(lengths, previous, count, sameRuns);
            std::vector<std::uint32_t> frequencies(kLzxPretreeSymbols, 0);
            for (const PretreeStep& step : steps) {
                ++frequencies[step.symbol];
                if (step.symbol == 19) ++frequencies[step.change];
            }
            Code pretree(frequencies, kMaxPretreeBits);
            std::size_t bits = 4 * kLzxPretreeSymbols;
            for (const PretreeStep& step : steps) {
                bits += pretree.lengths[step.symbol] + extraBitsOfStep(step.symbol);
                if (step.symbol == 19) bits += pretree.lengths[step.change];
            }
            if (!sameRuns || bits < bits_) {
                bits_ = bits;
                steps_ = std::move(steps);
                pretree_ = std::move(pretree);
            }
        }
    }

    std::size_t bits() const { return bits_; }

    void write(LzxBitWriter& out) const {
        for (std::uint8_t length : pretree_->lengths) out.put(length, 4);
        for (const PretreeStep& step : steps_) {
            pretree_->put(out, step.symbol);
            if (step.symbol < 17) continue;
            out.put(step.extra, extraBitsOfStep(step.symbol));
            if (step.symbol == 19) pretree_->put(out, step.change);
        }
    }

private:
    std::size_t bits_ = 0;
    std::vector<PretreeStep> steps_;
    std::optional<Code> pretree_;
};

// What a block's items need: symbol frequencies and the bits outside the trees.
struct BlockCounts {
    std::vector<std::uint32_t> main;
    std::vector<std::uint32_t> length = std::vector<std::uint32_t>(kLzxLengthSymbols, 0);
    std::vector<std::uint32_t> aligned = std::vector<std::uint32_t>(kLzxAlignedSymbols, 0);
    std::size_t verbatimExtraBits = 0;
    std::size_t alignedExtraBits = 0;  // the offset bits an aligned block writes as they are

    BlockCounts(const std::vector<LzxItem>& items, unsigned mainSymbols) : main(mainSymbols, 0) {
        for (const LzxItem& item : items) {
            if (item.length == 0) {
                ++main[item.literal];
                continue;
            }
            const unsigned slot = lzxSlotOf(item.formattedOffset);
            const unsigned header = std::min(item.length - kLzxMinMatch, kLzxPrimaryLengths);
            ++main[kLzxLiterals + slot * 8 + header];
            if (header == kLzxPrimaryLengths) {
                ++length[item.length - kLzxMinMatch - kLzxPrimaryLengths];
            }
            const unsigned extra = lzxExtraBits(slot);
            verbatimExtraBits += extra;
            if (extra >= 3) {
                alignedExtraBits += extra - 3;
                ++aligned[(item.formattedOffset - lzxPositionBase(slot)) & 7];
            } else {
                alignedExtraBits += extra;
            }
        }
    }
};

std::size_t codedBits(const std::vector<std::uint32_t>& frequencies, const Code& code) {
    std::size_t bits = 0;
    for (std::size_t s = 0; s < frequencies.size(); ++s) {
        bits += std::size_t{frequencies[s]} * code.lengths[s];
    }
    return bits;
}

void putItem(LzxBitWriter& out, const LzxItem& item, const Code& main, const Code& length,
             const Code* aligned) {
    if (item.length == 0) {
        main.put(out, item.literal);
        return;
    }
    const unsigned slot = lzxSlotOf(item.formattedOffset);
    const unsigned header = std::min(item.length - kLzxMinMatch, kLzxPrimaryLengths);
    main.put(out, kLzxLiterals + slot * 8 + header);
    if (header == kLzxPrimaryLengths) {
        length.put(out, item.length - kLzxMinMatch - kLzxPrimaryLengths);
    }
    const unsigned extra = lzxExtraBits(slot);
    const std::uint32_t bits = item.formattedOffset - lzxPositionBase(slot);
    if (aligned != nullptr && extra >= 3) {
        out.put(bits >> 3, extra - 3);
        aligned->put(out, bits & 7);
    } else {
        out.put(bits, extra);
    }
}

void putLittleEndian32(LzxBitWriter& out, std::uint32_t value) {
    const char bytes[4] = {static_cast<char>(value), static_cast<char>(value >> 8),
                           static_cast<char>(value >> 16), static_cast<char>(value >> 24)};
    out.putBytes(bytes, 4);
}

constexpr unsigned kBlockHeaderBits = 3 + 24;

void writeUncompressed(LzxBitWriter& out, std::string_view raw,
                       const std::array<std::uint32_t, 3>& repeats) {
    out.put(static_cast<unsigned>(LzxBlockType::Uncompressed), 3);
    out.put(static_cast<std::uint32_t>(raw.size()), 24);
    // The decoder skips 1 to 16 bits to reach a word boundary: a whole word
    // when it is already there.
    out.put(0, 16 - out.pendingBits());
    for (std::uint32_t offset : repeats) putLittleEndian32(out, offset);
    out.putBytes(raw.data(), raw.size());
    if (raw.size() % 2 != 0) out.putBytes("", 1);
}

std::size_t uncompressedBits(const LzxBitWriter& out, std::size_t rawSize) {
    const unsigned padding = 16 - (out.pendingBits() + kBlockHeaderBits) % 16;
    return kBlockHeaderBits + padding + 12 * 8 + 8 * (rawSize + rawSize % 2);
}

}  // namespace

LzxBlockType writeLzxBlock(LzxBitWriter& out, const std::vector<LzxItem>& items,
                           std::string_view raw, unsigned positionSlots,
                           const std::array<std::uint32_t, 3>& repeatsAfter,
                           LzxTreeLengths& previous) {
    const unsigned mainSymbols = kLzxLiterals + 8 * positionSlots;
    const BlockCounts counts(items, mainSymbols);
    const Code main(counts.main, kMaxCodeBits);
    const Code length(counts.length, kMaxCodeBits);
    const Code aligned(counts.aligned, kMaxAlignedBits);
    const TreeEncoding literalLengths(main.lengths.data(), previous.main.data(), kLzxLiterals);
    const TreeEncoding matchLengths(main.lengths.data() + kLzxLiterals,
                                    previous.main.data() + kLzxLiterals,
                                    mainSymbols - kLzxLiterals);
    const TreeEncoding lengthLengths(length.lengths.data(), previous.length.data(),
                                     kLzxLengthSymbols);

    const std::size_t common = kBlockHeaderBits + literalLengths.bits() + matchLengths.bits() +
                               lengthLengths.bits() + codedBits(counts.main, main) +
                               codedBits(counts.length, length);
    const std::size_t verbatimBits = common + counts.verbatimExtraBits;
    const std::size_t alignedBits = common + 3 * kLzxAlignedSymbols + counts.alignedExtraBits +
                                    codedBits(counts.aligned, aligned);
    if (uncompressedBits(out, raw.size()) < std::min(verbatimBits, alignedBits)) {
        writeUncompressed(out, raw, repeatsAfter);
        return LzxBlockType::Uncompressed;
    }

    const LzxBlockType type =
        alignedBits < verbatimBits ? LzxBlockType::Aligned : LzxBlockType::Verbatim;
    out.put(static_cast<unsigned>(type), 3);
    out.put(static_cast<std::uint32_t>(raw.size()), 24);
    if (type == LzxBlockType::Aligned) {
        for (std::uint8_t bits : aligned.lengths) out.put(bits, 3);
    }
    literalLengths.write(out);
    matchLengths.write(out);
    lengthLengths.write(out);
    const Code* offsets = type == LzxBlockType::Aligned ? &aligned : nullptr;
    for (const LzxItem& item : items) putItem(out, item, main, length, offsets);

    std::copy(main.lengths.begin(), main.lengths.end(), previous.main.begin());
    std::copy(length.lengths.begin(), length.lengths.end(), previous.length.begin());
    return type;
}

}  // namespace qv
