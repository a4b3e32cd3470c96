#pragma once
// Every input file, the list file and each page, is turned into UTF-8 before
// anything else reads it, whatever encoding it was saved in.

#include <cstddef>
#include <string>
#include <string_view>

namespace qv {

enum class InputEncoding {
    Utf8,            // valid UTF-8 already (after an optional UTF-8 BOM); unchanged
    Utf16,           // a UTF-16 BOM (FF FE or FE FF): decoded, the BOM made EF BB BF
    Declared,        // not UTF-8, decoded from the encoding its declaration names
    Cp1252Fallback,  // not UTF-8: bytes outside valid UTF-8 read as windows-1252
};

struct InputDecoding {
    InputEncoding encoding = InputEncoding::Utf8;
    // The encoding name of the XML declaration or <meta> element, as the text
    // spells it, when the text is not UTF-8 and has one; empty otherwise.
    // With Cp1252Fallback it is a name ICU does not know, a name of UTF-8 or
    // one that cannot have been written in ASCII (UTF-16, EBCDIC).
    std::string declaredName;
};

// Makes bytes UTF-8, in this order:
//  1. a text that starts with a UTF-16 byte order mark is decoded from
//     UTF-16; an unpaired surrogate or an odd last byte becomes U+FFFD;
//  2. valid UTF-8 (a UTF-8 BOM allowed) is left as it is, whatever it
//     declares: one scan, no copy;
//  3. a text that starts with a UTF-8 BOM but is not valid UTF-8 skips 4
//     and goes to 5: the mark says UTF-8 louder than any declaration;
//  4. otherwise, when the XML declaration at its start (any case) or else a
//     <meta charset> or <meta http-equiv="Content-Type" content="...charset=">
//     in its first 1024 bytes names an ASCII-based encoding other than UTF-8
//     that ICU knows, the text is decoded from that encoding;
//  5. otherwise each byte that does not belong to a valid UTF-8 sequence is
//     taken as its windows-1252 character (the undefined 81 8D 8F 90 9D as
//     U+0081 ...), and the valid sequences stay.
// Folding line ends and cutting the text at a NUL are left to the caller.
InputDecoding decodeInputText(std::string& bytes);

// Whether decodeInputText would change bytes: they start with a UTF-16 byte
// order mark, or are not valid UTF-8 throughout.
bool needsInputDecoding(std::string_view bytes);

// How many bytes at the start of text are valid UTF-8: no overlong forms, no
// surrogates, nothing above U+10FFFF, no sequence cut off by the end.
std::size_t validUtf8Prefix(std::string_view text);

// The declared encoding name of a text, by the rules of step 4 above, or an
// empty view when it declares none. The view points into text.
std::string_view declaredEncoding(std::string_view text);

}  // namespace qv
