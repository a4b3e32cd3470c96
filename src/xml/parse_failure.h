#pragma once
#include <tinyxml.h>

#include <string>

#include "xml/source_map.h"

namespace qv {

// What a check says of a document that did not parse (code page 1252):
// TinyXML's description, and when the parser met an end tag (or the end of
// the text) that does not close the element it was in, that element and
// where it opened, found by our own scan of the tags up to there.
std::string describeParseFailure(const TiXmlDocument& document, SourceMap& positions);

}  // namespace qv
