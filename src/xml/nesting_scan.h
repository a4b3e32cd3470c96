#pragma once
#include <tinyxml.h>

#include <cstddef>
#include <string>

namespace qv {

// What a list file, a page or a template's parameters may hold; a document
// beyond it is refused before TinyXML sees it, since the parser's cost would
// grow with the square of it.
struct XmlLimits {
    // Element nesting. TinyXML's parser, its visitors and its printer recurse
    // once per level, and its parser climbs from every new node up to the
    // document, so that parsing costs size times depth: a page nested 100,000
    // deep takes minutes, and some millions of levels overflow even a large
    // stack. 256 is the usual default of XML parsers. It bounds the contents
    // tree as well, whose output grows with the square of its depth: a page's
    // headings sit at most six levels below the nesting of its list entry.
    std::size_t nesting;
    // Attributes of one element. The parser looks every new attribute up
    // among the element's earlier ones: 1 MB of attributes takes a minute.
    std::size_t attributes;
};
constexpr XmlLimits kXmlLimits{256, 256};

// The first element beyond the limits.
struct XmlExcess {
    std::size_t offset = std::string::npos;  // of its "<"; npos when there is none
    bool attributes = false;                // too many attributes, not too deep
    bool found() const { return offset != std::string::npos; }
};

// Follows TinyXML's parse of text (read with encoding, as Parse would) without
// building anything, up to the first element that the parser would enter
// more than limits.nesting levels deep, or whose attributes exceed
// limits.attributes. The parser may stop earlier on an error: then nothing is
// found. The rules are TinyXML 2.6's own, down to the bytes that its UTF-8 and
// character reference steps jump over; where they are not followed (a
// repeated attribute, on which TinyXML stops), the scan goes on, so that it
// never sees less than the parser would.
XmlExcess findExcessiveElement(const char* text, TiXmlEncoding encoding, XmlLimits limits);

// Line and column (both from 1; columns count UTF-8 characters) of offset.
struct TextPosition {
    int row;
    int column;
};
TextPosition positionOf(const std::string& text, std::size_t offset);

// The description of such an element in messages, in code page 1252.
std::string describeExcess(const XmlExcess& excess);

}  // namespace qv
