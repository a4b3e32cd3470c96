#pragma once
#include <cstdint>
#include <string>

namespace qv {

// Appends value as the directory's variable-length integer: seven bits a
// byte, most significant group first, the high bit set on every byte but
// the last.
void appendEncInt(std::string& out, std::uint64_t value);

// Little-endian fixed-width integers, as every table of the format holds them.
void appendLittleEndian(std::string& out, std::uint64_t value, unsigned bytes);

}  // namespace qv
