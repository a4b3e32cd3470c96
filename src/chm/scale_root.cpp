#include "chm/scale_root.h"

namespace qv {

namespace {

// The number of significant bits of value (0 for 0).
unsigned bitLength(std::uint64_t value) {
    unsigned length = 0;
    for (; value != 0; value >>= 1) ++length;
    return length;
}

}  // namespace

void BitWriter::writeBit(bool bit) {
    if (used_ == 8) {
        bytes_ += '\0';
        used_ = 0;
    }
    if (bit) bytes_.back() = static_cast<char>(bytes_.back() | (0x80 >> used_));
    ++used_;
}

void BitWriter::writeScaleRoot(std::uint64_t value, unsigned root) {
    const unsigned length = bitLength(value);
    unsigned valueBits = root;
    if (length > root) {
        for (unsigned i = root; i < length; ++i) writeBit(true);
        valueBits = length - 1;  // the top bit goes without saying
    }
    writeBit(false);
    for (unsigned i = valueBits; i-- > 0;) writeBit(((value >> i) & 1) != 0);
}

void BitWriter::padToByte() { used_ = 8; }

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
