#include "chm/encint.h"

namespace qv {

void appendEncInt(std::string& out, std::uint64_t value) {
    unsigned groups = 1;
    while (groups < 10 && (value >> (7 * groups)) != 0) ++groups;
    for (unsigned i = groups; i-- > 0;) {
        const auto bits = static_cast<unsigned char>((value >> (7 * i)) & 0x7F);
        out.push_back(static_cast<char>(i > 0 ? bits | 0x80 : bits));
    }
}

void appendLittleEndian(std::string& out, std::uint64_t value, unsigned bytes) {
    for (unsigned i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace qv
