#pragma once
#include <tinyxml.h>

#include <cstddef>
#include <string>

#include "model/text_position.h"

namespace qv {

// What a document may hold; a document beyond it is refused before TinyXML
// sees it, since the parser's cost would grow with the square of it.
struct XmlLimits {
    // Element nesting. TinyXML's parser, its visitors and its printer recurse
    // once per level; the run's stack (1 GiB) was measured to take 60,000
    // levels of a parse.
    std::size_t nesting;
    // Attributes of one element. The parser looks every new attribute up
    // among the element's earlier ones: 1 MB of attributes takes a minute.
    std::size_t attributes;
    // The sum over the elements of the depth they are created at beyond
    // kFreeDepth: the parser climbs from every new node up to the document,
    // which only loose markup makes costly (shallow pages are not counted,
    // however large). Measured on
    // this kind of machine (2 cores, TinyXML 2.6) at about 25 ns a step:
    // 3,000 unclosed <li> are 4.5 million steps (0.1 s), 10,000 are 50
    // million (1.2 s), 30,000 are 450 million (18 s).
    std::size_t work;
};
constexpr std::size_t kFreeDepth = 64;

// The list file: 256 levels, the usual default of XML parsers. It bounds the
// contents tree too, whose output grows with the square of its depth: a
// page's headings sit at most six levels below the nesting of its entry.
// Template parameters are held to the same limits.
constexpr XmlLimits kListLimits{256, 256, static_cast<std::size_t>(-1)};
// A page: loose HTML such as a long list of unclosed <li> nests deep, and is
// parsed so that TinyXML reports where it goes wrong; refused only where the
// parse would take more than about a second (40 million steps, which also
// holds a chain of elements under 9,000 levels) or the stack would not do.
// A page with 10,000 unclosed <li> is refused; one with 3,000 is parsed.
constexpr XmlLimits kPageLimits{20000, 256, 40000000};

// The first element beyond the limits.
struct XmlExcess {
    enum class Kind { Nesting, Attributes, Work };
    std::size_t offset = std::string::npos;  // of its "<"; npos when there is none
    Kind kind = Kind::Nesting;
    XmlLimits limits{};  // the limits it exceeds
    bool found() const { return offset != std::string::npos; }
};

// Follows TinyXML's parse of text (read with encoding, as Parse would) without
// building anything, up to the first element that the parser would enter
// more than limits.nesting levels deep, whose attributes exceed
// limits.attributes, or that brings the sum of the depths past limits.work. The parser may stop
// earlier on an error: then nothing is found. The rules are TinyXML 2.6's own, down to the bytes
// that its UTF-8 and character reference steps jump over; where they are not followed (a repeated
// attribute, on which TinyXML stops), the scan goes on, so that it never sees less than the parser
// would.
XmlExcess findExcessiveElement(const char* text, TiXmlEncoding encoding, XmlLimits limits);

// Line and column (both from 1; columns count UTF-8 characters, a byte
// order mark among them) of offset.
TextPosition positionOf(const std::string& text, std::size_t offset);

// The description of such an element in messages, in code page 1252.
std::string describeExcess(const XmlExcess& excess);

}  // namespace qv
