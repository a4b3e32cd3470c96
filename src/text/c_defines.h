#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// A "#define NAME NUMBER" line of a C header, where the number is decimal or
// "0x" hexadecimal and fits in 32 bits.
struct CDefine {
    std::string name;
    std::uint32_t value = 0;
    std::size_t line = 0;    // from 1
    std::size_t column = 0;  // of the name, in bytes from 1
};

// The numeric defines of a header's text, in order. A define may be followed
// by a "//" or "/* */" comment; every other line (other directives, macros
// with parameters or expressions, octal numbers such as "010", numbers
// beyond 32 bits) is left out, so that no name gets a number other than
// the one the program's compiler gives it.
std::vector<CDefine> readDefines(std::string_view text);

// Whether name is a C identifier: a letter or "_", then letters, digits and "_".
bool isCIdentifier(std::string_view name);

}  // namespace qv
