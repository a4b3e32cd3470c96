#pragma once
#include <cstddef>
#include <string_view>

#include "xml/nesting_scan.h"

namespace qv {

// What a scan of an HTML page found.
struct HtmlNesting {
    XmlExcess excess;         // the first element beyond the limits, if any
    std::size_t deepest = 0;  // the deepest nesting of elements it expects of the tree
};

// Follows an HTML page's tags as the HTML parser's tree construction treats
// them, without building anything, so that a page is refused before the
// parser meets what would make it slow: the parser walks its stack of open
// elements for most tags, and it opens again, for each new text, the
// formatting elements (b, i, font...) that a closed block left open, so that
// its cost grows with the square of loose markup.
//
// The scan keeps that stack, with the end tags HTML implies (an <li> closes
// the one before it, a block closes an open <p>, a cell or row the one
// before it, an end tag closes what it encloses, within its scope), and the
// list of formatting elements HTML opens again. Finds the first tag whose
// element the parser would hold more than limits.nesting deep, that has more
// than limits.attributes attributes, or that brings the work past
// limits.work: the sum over the tags of their depth beyond kFreeDepth, where
// each element opened again costs kFreeDepth more (it is a new element of
// the tree, which no tag of the page paid for). The rules are those of the
// HTML parser's tree construction; where the scan simplifies them (a
// misnested formatting element, markup inside <select>), it keeps elements
// open that the parser may close, so that it expects no less than the parser
// builds.
HtmlNesting scanHtmlNesting(std::string_view text, const XmlLimits& limits);

}  // namespace qv
