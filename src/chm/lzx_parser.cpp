#include "chm/lzx_parser.h"

#include <algorithm>
#include <cstring>

namespace qv {

namespace {

constexpr unsigned kHashBits = 15;
// How many earlier positions with the same hash are tried: the bound that
// keeps the search fast on repetitive text.
constexpr unsigned kMaxChain = 24;
// A match this long is taken without looking further, or one byte later.
constexpr unsigned kGoodLength = 64;
// Beside a match this long, the look one byte later tries fewer positions.
constexpr unsigned kLongEnough = 16;

std::uint32_t hashAt(const std::uint8_t* p) {
    const std::uint32_t three = p[0] | (p[1] << 8) | (p[2] << 16);
    return (three * 2654435761u) >> (32 - kHashBits);
}

}  // namespace

LzxCosts LzxCosts::defaults() {
    LzxCosts costs;
    costs.main.fill(10);
    costs.length.fill(6);
    return costs;
}

LzxCosts LzxCosts::fromBlock(const std::uint8_t* mainLengths, const std::uint8_t* lengthLengths,
                             unsigned mainSymbols, const std::vector<LzxItem>& items) {
    LzxCosts costs = defaults();
    std::size_t literalBits = 0;
    std::size_t literals = 0;
    for (const LzxItem& item : items) {
        if (item.length != 0) continue;
        literalBits += mainLengths[item.literal];
        ++literals;
    }
    if (literals > 0)
        costs.literal = static_cast<unsigned>((literalBits + literals / 2) / literals);
    // A symbol the block did not use would cost more than the longest it did.
    for (unsigned s = kLzxLiterals; s < mainSymbols; ++s) {
        if (mainLengths[s] > 0)
            costs.main[s] = mainLengths[s];
        else
            costs.main[s] = 14;
    }
    for (unsigned s = 0; s < kLzxLengthSymbols; ++s) {
        costs.length[s] = lengthLengths[s] > 0 ? lengthLengths[s] : 12;
    }
    return costs;
}

LzxParser::LzxParser(unsigned windowBits)
    : maxOffset_((1u << windowBits) - 3), head_(std::size_t{1} << kHashBits) {}

void LzxParser::startInterval(const std::uint8_t* data, std::size_t size) {
    data_ = data;
    size_ = size;
    inserted_ = 0;
    std::fill(head_.begin(), head_.end(), -1);
    previous_.assign(size, -1);
    repeats_ = {1, 1, 1};
}

void LzxParser::insertUpTo(std::size_t position) {
    const std::size_t last = std::min(position, size_ >= 3 ? size_ - 2 : 0);
    for (; inserted_ < last; ++inserted_) {
        std::int32_t& head = head_[hashAt(data_ + inserted_)];
        previous_[inserted_] = head;
        head = static_cast<std::int32_t>(inserted_);
    }
    inserted_ = std::max(inserted_, position);
}

unsigned LzxParser::matchLength(std::size_t from, std::size_t position, unsigned maxLength) const {
    const std::uint8_t* a = data_ + from;
    const std::uint8_t* b = data_ + position;
    unsigned length = 0;
    while (length + 8 <= maxLength) {
        std::uint64_t x;
        std::uint64_t y;
        std::memcpy(&x, a + length, 8);
        std::memcpy(&y, b + length, 8);
        if (x != y) return length + static_cast<unsigned>(__builtin_ctzll(x ^ y)) / 8;
        length += 8;
    }
    while (length < maxLength && a[length] == b[length]) ++length;
    return length;
}

namespace {

std::uint32_t load32(const std::uint8_t* p) {
    std::uint32_t value;
    std::memcpy(&value, p, 4);
    return value;
}

}  // namespace

LzxParser::Candidate LzxParser::longestInChain(std::size_t position, unsigned maxLength,
                                               unsigned maxTries) {
    Candidate found;
    if (maxLength < 3 || position + 3 > size_) return found;
    const std::size_t nearest = position > maxOffset_ ? position - maxOffset_ : 0;
    const std::uint8_t* const data = data_;
    const std::int32_t* const previous = previous_.data();
    const std::uint8_t* const here = data + position;
    unsigned bestLength = 2;
    // A longer match holds the 4 bytes up to bestLength, or at first the 3
    // bytes of the hash: candidates without them are passed over unread.
    unsigned tailAt = 0;
    std::uint32_t tailMask = 0xFFFFFF;
    std::uint32_t tail = here[0] | (here[1] << 8) | (here[2] << 16);
    std::int32_t candidate = head_[hashAt(here)];
    for (unsigned tries = maxTries; candidate >= 0 && tries > 0; --tries) {
        const auto from = static_cast<std::size_t>(candidate);
        if (from < nearest) break;
        if ((load32(data + from + tailAt) & tailMask) == tail) {
            const unsigned length = matchLength(from, position, maxLength);
            if (length > bestLength) {
                bestLength = length;
                found.length = length;
                found.formattedOffset = static_cast<std::uint32_t>(position - from) + 2;
                if (length >= kGoodLength || length == maxLength) break;
                tailAt = bestLength - 3;
                tailMask = 0xFFFFFFFF;
                tail = load32(here + tailAt);
            }
        }
        candidate = previous[from];
    }
    return found;
}

namespace {

int matchGain(unsigned length, std::uint32_t formatted, const LzxCosts& costs) {
    const unsigned slot = lzxSlotOf(formatted);
    const unsigned header = std::min(length - kLzxMinMatch, kLzxPrimaryLengths);
    unsigned bits = costs.main[kLzxLiterals + slot * 8 + header] + lzxExtraBits(slot);
    if (header == kLzxPrimaryLengths) {
        bits += costs.length[length - kLzxMinMatch - kLzxPrimaryLengths];
    }
    return static_cast<int>(length * costs.literal) - static_cast<int>(bits);
}

}  // namespace

LzxParser::Candidate LzxParser::best(std::size_t position, std::size_t end, const LzxCosts& costs,
                                     unsigned maxTries) {
    insertUpTo(position);
    Candidate chosen;
    const auto maxLength =
        static_cast<unsigned>(std::min<std::size_t>(kLzxMaxMatch, end - position));
    if (maxLength < kLzxMinMatch) return chosen;
    for (std::uint32_t r = 0; r < kLzxRepeatedOffsets; ++r) {
        const std::uint32_t offset = repeats_[r];
        if (offset > position) continue;
        const unsigned length = matchLength(position - offset, position, maxLength);
        if (length < kLzxMinMatch) continue;
        const int gain = matchGain(length, r, costs);
        if (gain > chosen.gain) chosen = {length, r, gain};
    }
    Candidate chained = longestInChain(position, maxLength, maxTries);
    if (chained.length > chosen.length) {
        const std::uint32_t offset = chained.formattedOffset - 2;
        // Offsets equal to R0-R2 were tried above at their full length.
        if (offset != repeats_[0] && offset != repeats_[1] && offset != repeats_[2]) {
            chained.gain = matchGain(chained.length, chained.formattedOffset, costs);
            if (chained.gain > chosen.gain) chosen = chained;
        }
    }
    return chosen;
}

void LzxParser::take(const Candidate& match) {
    const std::uint32_t f = match.formattedOffset;
    if (f >= kLzxRepeatedOffsets) {
        repeats_[2] = repeats_[1];
        repeats_[1] = repeats_[0];
        repeats_[0] = f - 2;
    } else if (f > 0) {
        std::swap(repeats_[0], repeats_[f]);
    }
}

void LzxParser::parseFrame(std::size_t begin, std::size_t end, const LzxCosts& costs,
                           std::vector<LzxItem>& items) {
    std::size_t position = begin;
    while (position < end) {
        Candidate match = best(position, end, costs, kMaxChain);
        // Lazy evaluation: a better match one byte on wins over this one.
        while (match.length > 0 && match.length < kGoodLength && position + 1 < end) {
            const unsigned tries = match.length >= kLongEnough ? kMaxChain / 4 : kMaxChain;
            const Candidate next = best(position + 1, end, costs, tries);
            if (next.gain <= match.gain) break;
            items.push_back({0, 0, data_[position]});
            ++position;
            match = next;
        }
        if (match.length == 0) {
            items.push_back({0, 0, data_[position]});
            ++position;
            continue;
        }
        items.push_back({match.formattedOffset, static_cast<std::uint16_t>(match.length), 0});
        take(match);
        position += match.length;
    }
}

}  // namespace qv
