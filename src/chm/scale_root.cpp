#include "chm/scale_root.h"

#include <utility>

namespace qv {

namespace {

// The number of significant bits of value (0 for 0).
unsigned bitLength(std::uint64_t value) {
    return value == 0 ? 0 : 64 - static_cast<unsigned>(__builtin_clzll(value));
}

}  // namespace

void BitWriter::writeBits(std::uint64_t bits, unsigned count) {
    while (count > 0) {
        if (used_ == 8) {
            bytes_ += '\0';
            used_ = 0;
        }
        const unsigned take = count < 8 - used_ ? count : 8 - used_;
        const unsigned chunk = static_cast<unsigned>(bits >> (count - take)) & ((1u << take) - 1);
        bytes_.back() = static_cast<char>(static_cast<unsigned char>(bytes_.back()) |
                                          (chunk << (8 - used_ - take)));
        used_ += take;
        count -= take;
    }
}

void BitWriter::writeScaleRoot(std::uint64_t value, unsigned root) {
    const unsigned length = bitLength(value);
    unsigned valueBits = root;
    if (length > root) {
        writeBits(~std::uint64_t{0}, length - root);
        valueBits = length - 1;  // the top bit goes without saying
    }
    writeBits(0, 1);
    writeBits(value, valueBits);
}

void BitWriter::padToByte() { used_ = 8; }

std::string BitWriter::takeBytes() {
    std::string bytes = std::move(bytes_);
    bytes_.clear();
    used_ = 8;
    return bytes;
}

unsigned scaleRootBits(std::uint64_t value, unsigned root) {
    const unsigned length = bitLength(value);
    return length <= root ? 1 + root : 2 * length - root;
}

void appendEncIntLowFirst(std::string& out, std::uint64_t value) {
    while (value >= 0x80) {
        out += static_cast<char>(0x80 | (value & 0x7F));
        value >>= 7;
    }
    out += static_cast<char>(value);
}

}  // namespace qv
