#pragma once
#include <tinyxml.h>

#include <cstddef>
#include <string>

namespace qv {

// The deepest element nesting that a list file, a page or a template's
// parameters may have. TinyXML's parser, its visitors and its printer recurse
// once per level, and its parser climbs from every new node to the document,
// so that parsing costs size times depth: a page nested 100,000 deep takes
// minutes, and some millions of levels overflow even a large stack. 256 is
// the usual default of XML parsers and far beyond any help page or list;
// such a document is refused before TinyXML sees it.
constexpr std::size_t kMaxXmlNesting = 256;

// Follows TinyXML's parse of text (read with encoding, as Parse would) without
// building anything, and returns the offset of the "<" of the first element
// that the parser would enter more than limit levels deep, or std::string::npos
// when it never goes that deep (it may stop earlier on an error). The rules
// are TinyXML 2.6's own, down to the bytes that its UTF-8 and character
// reference steps jump over; where they are not followed (a repeated
// attribute, on which TinyXML stops), the scan goes on, so that the answer
// never understates the parser's depth.
std::size_t findTooDeepElement(const char* text, TiXmlEncoding encoding, std::size_t limit);

// Line and column (both from 1; columns count UTF-8 characters) of offset.
struct TextPosition {
    int row;
    int column;
};
TextPosition positionOf(const std::string& text, std::size_t offset);

// The description of such a document in messages, in code page 1252.
std::string nestingTooDeepText();

}  // namespace qv
