#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// The code page 1252 byte of a Unicode code point, or -1 when the code page
// has none. Code points U+0000-U+00FF give the byte of the same value: the
// tool uses U+0080-U+009F to carry the bytes 0x80-0x9F through UTF-8.
int cp1252FromCodePoint(std::uint32_t codePoint);

// The Unicode character that a code page 1252 byte shows (0x80 is the euro
// sign); the five undefined bytes give U+0081, U+008D, U+008F, U+0090, U+009D.
std::uint32_t codePointFromCp1252(unsigned char byte);

// Appends the UTF-8 form of a code point (up to U+10FFFF).
void appendUtf8(std::string& out, std::uint32_t codePoint);

// Appends code page 1252 text as UTF-8: each byte as the character it
// shows (codePointFromCp1252).
void appendCp1252AsUtf8(std::string& out, std::string_view cp1252);

// UTF-8 text from a parse tree to code page 1252: code points up to U+00FF
// give the byte of the same value, the other characters of the code page
// their byte, anything else one "?". A malformed or truncated sequence gives
// one "?" for its first byte and decoding goes on at the next byte.
std::string utf8ToCp1252(std::string_view value);

// The same text kept in UTF-8, character for character what utf8ToCp1252
// gives: U+0080-U+009F become the characters code page 1252 shows for those
// bytes (U+0092 becomes U+2019), a malformed or truncated sequence one "?"
// for its first byte, and every other character stays, whether or not the
// code page has it.
std::string utf8AsShown(std::string_view value);

}  // namespace qv
