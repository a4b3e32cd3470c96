#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace qv {

// A character of UTF-8 text that code page 1252 cannot hold.
struct LostCharacter {
    std::size_t offset = std::string_view::npos;  // npos when there is none
    std::size_t length = 0;                       // of its UTF-8 sequence
    std::string name;  // "U+2192", or "0xFF" for a byte that starts no UTF-8 character
    bool found() const { return offset != std::string_view::npos; }
};

// The first character that utf8ToCp1252 turns into "?" without being one.
LostCharacter firstLostCharacter(std::string_view utf8);

}  // namespace qv
