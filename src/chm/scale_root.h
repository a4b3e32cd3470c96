#pragma once
#include <cstdint>
#include <string>

namespace qv {

// The numbers of the full-text index's word lists are written bit by bit,
// first bit the high one of each byte, in the "scale and root" code with
// scale 2: a value below 2^root is a 0 and the value in root bits; a value
// of n + 1 significant bits (n >= root) is n - root + 1 ones, a 0, and its n
// low bits (the top one is implied).
class BitWriter {
public:
    void writeScaleRoot(std::uint64_t value, unsigned root);
    // Zero bits up to the next byte: every document of a list starts on one.
    void padToByte();
    const std::string& bytes() const { return bytes_; }
    // The bytes written, leaving the writer empty.
    std::string takeBytes();

private:
    // The low count bits of bits (count <= 64), the highest first.
    void writeBits(std::uint64_t bits, unsigned count);
    std::string bytes_;
    unsigned used_ = 8;  // bits taken in the last byte
};

// The number of bits value takes in the code with root.
unsigned scaleRootBits(std::uint64_t value, unsigned root);

// The variable-length integer of the index's leaf nodes: 7 bits a byte, low
// group first (unlike the directory's, which starts with the high one),
// every byte but the last with its top bit set.
void appendEncIntLowFirst(std::string& out, std::uint64_t value);

}  // namespace qv
