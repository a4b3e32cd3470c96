#pragma once
#include <string>

#include "model/finding.h"
#include "xml/parse.h"
#include "xml/source_map.h"

namespace qv {

// What a check says of a text that did not parse (or was refused): where,
// in the text as loaded, and the parser's description followed, in
// parentheses, by what to change when our own scan tells more: when the
// parser met an end tag, or the end of the text, with something still open,
// the element, comment or CDATA section and where it opened; for an
// attribute without a value, its name.
struct ParseFailure {
    TextPosition at;  // {0, 0} when nothing tells
    FindingText description;
};

ParseFailure describeParseFailure(const XmlFailure& failure, SourceMap& positions);

}  // namespace qv
