#pragma once
#include <cstdint>
#include <string>

namespace qv {

// The LZX bitstream: bits go most significant first into 16-bit words,
// and each word is stored little-endian.
class LzxBitWriter {
public:
    explicit LzxBitWriter(std::string& out) : out_(out) {}

    // Appends the low `bits` bits of value (at most 32).
    void put(std::uint32_t value, unsigned bits) {
        buffer_ = (buffer_ << bits) | value;
        pending_ += bits;
        while (pending_ >= 16) {
            pending_ -= 16;
            const auto word = static_cast<std::uint16_t>(buffer_ >> pending_);
            out_.push_back(static_cast<char>(word & 0xFF));
            out_.push_back(static_cast<char>(word >> 8));
        }
        buffer_ &= (std::uint64_t{1} << pending_) - 1;
    }

    // Fills the current word with zero bits, if it is begun.
    void alignToWord() {
        if (pending_ > 0) put(0, 16 - pending_);
    }

    // Bits written into the current word so far (0 to 15).
    unsigned pendingBits() const { return pending_; }

    // Appends bytes as they are; the stream must be at a word boundary.
    void putBytes(const char* bytes, std::size_t count) { out_.append(bytes, count); }

    // Bytes written so far; at a word boundary, the whole stream.
    std::size_t size() const { return out_.size(); }

private:
    std::string& out_;
    std::uint64_t buffer_ = 0;
    unsigned pending_ = 0;
};

}  // namespace qv
