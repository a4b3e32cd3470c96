#pragma once
#include <tinyxml.h>

#include <string>

#include "xml/nesting_scan.h"
#include "xml/source_map.h"

namespace qv {

// What a check says of a document that did not parse.
struct ParseFailure {
    TextPosition where;  // in the text as loaded; {0, 0} when nothing tells
    // TinyXML's description, followed in parentheses by what to change when
    // our own scan tells more (code page 1252): when the parser met an end
    // tag, or the end of the text, with an element still open, that element
    // and where it opened; for an attribute without a value, its name.
    std::string description;
};

ParseFailure describeParseFailure(const TiXmlDocument& document, SourceMap& positions);

}  // namespace qv
