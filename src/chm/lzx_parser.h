#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "chm/lzx_format.h"

namespace qv {

// What the parse expects each code to cost, in bits: it weighs a match
// against the literals it replaces. Taken from the code lengths of the
// block before, so that the choices follow the data.
struct LzxCosts {
    unsigned literal = 6;                                 // an average literal
    std::array<std::uint8_t, kLzxMaxMainSymbols> main{};  // match symbols
    std::array<std::uint8_t, kLzxLengthSymbols> length{};

    // Estimates for a start without a block before.
    static LzxCosts defaults();
    // From the code lengths of a block (0 where a symbol did not occur) and
    // its items (the literals' average).
    static LzxCosts fromBlock(const std::uint8_t* mainLengths, const std::uint8_t* lengthLengths,
                              unsigned mainSymbols, const std::vector<LzxItem>& items);
};

// Finds matches with hash chains and parses one reset interval, frame by
// frame, into literals and matches as an LZX decoder replays them: matches
// reach back no further than the start of the interval and the window
// allows, and end within their frame. Keeps the repeated offsets R0-R2.
class LzxParser {
public:
    explicit LzxParser(unsigned windowBits);

    // Starts on a new reset interval: nothing before data is visible.
    void startInterval(const std::uint8_t* data, std::size_t size);

    // Appends the items covering [begin, end) of the interval.
    void parseFrame(std::size_t begin, std::size_t end, const LzxCosts& costs,
                    std::vector<LzxItem>& items);

    // R0, R1, R2 as the decoder holds them after the items parsed so far.
    const std::array<std::uint32_t, 3>& repeatedOffsets() const { return repeats_; }

private:
    struct Candidate {
        unsigned length = 0;
        std::uint32_t formattedOffset = 0;
        int gain = 0;  // bits saved against literals
    };

    void insertUpTo(std::size_t position);
    // The best match at position, from R0-R2 and up to maxTries earlier
    // positions of the hash chain.
    Candidate best(std::size_t position, std::size_t end, const LzxCosts& costs, unsigned maxTries);
    Candidate longestInChain(std::size_t position, unsigned maxLength, unsigned maxTries);
    unsigned matchLength(std::size_t from, std::size_t position, unsigned maxLength) const;
    void take(const Candidate& match);

    std::uint32_t maxOffset_;
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t inserted_ = 0;
    std::vector<std::int32_t> head_;
    std::vector<std::int32_t> previous_;
    std::array<std::uint32_t, 3> repeats_{1, 1, 1};
};

}  // namespace qv
