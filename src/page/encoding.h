#pragma once
#include <string>
#include <string_view>

namespace qv {

// Code page 1252 text for a sitemap file: bytes from 0x80 up as named
// entities (or "&#xHH;" where no name exists), the markup characters " & < >
// as numeric references, everything else unchanged.
std::string encodeEntities(std::string_view text);
void appendEntities(std::string& out, std::string_view text);

// Code page 1252 text for an HTML page: the no-break space and the markup
// characters as entities, other bytes from 0x80 up as UTF-8 (U+0080 plus the
// byte), everything else unchanged.
std::string encodeUtf8Html(std::string_view text);
void appendUtf8Html(std::string& out, std::string_view text);

// UTF-8 text from a parse tree to code page 1252: code points up to U+00FF
// give the byte of the same value, the other characters of the code page
// their byte, anything else one "?". A malformed or truncated sequence gives
// one "?" for its first byte and decoding goes on at the next byte.
std::string utf8ToAnsi(std::string_view value);

}  // namespace qv
