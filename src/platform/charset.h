#pragma once
// Character sets as ICU knows them: what a name a page declares stands for,
// and decoding bytes in such a set to UTF-8. The only ICU converter calls of
// the tool are here.

#include <string>
#include <string_view>

namespace qv {

enum class CharsetKind {
    Unknown,          // ICU has no converter of that name
    Utf8,             // one of the names of UTF-8 ("utf8", "UTF-8", ...)
    AsciiCompatible,  // markup bytes (letters, digits, <>/?!="' ...) read as ASCII
    Other,            // UTF-16, UTF-32, EBCDIC: a declaration written in ASCII cannot be true
};

// What kind of character set the name (any case, any alias ICU knows) is.
CharsetKind classifyCharset(std::string_view name);

inline bool isKnownCharset(std::string_view name) {
    return classifyCharset(name) != CharsetKind::Unknown;
}

// Decodes bytes in the named character set into utf8 (replaced). Bytes the
// set cannot decode become ICU's substitution character. Returns false, with
// utf8 empty, when ICU does not know the name or the conversion fails.
bool convertToUtf8(std::string_view charsetName, std::string_view bytes, std::string& utf8);

}  // namespace qv
