#pragma once
#include <cstddef>
#include <string_view>

namespace qv {

// Where the readers of a text stop short of its end: they read up to its
// first NUL byte.
struct TextCut {
    enum class Kind {
        None,              // no NUL, or nothing but blanks and NULs after the first
        Nul,               // a NUL byte with text after it
        Utf16WithoutMark,  // NUL bytes between the characters: UTF-16 without a byte order mark
    };
    Kind kind = Kind::None;
    std::size_t offset = std::string_view::npos;  // of the first NUL
};

// How text is cut. It counts as UTF-16 without a byte order mark when at
// least a third of its first 256 bytes are NUL: in UTF-16, markup's ASCII
// characters are each one NUL and one ASCII byte.
TextCut findTextCut(std::string_view text);

}  // namespace qv
