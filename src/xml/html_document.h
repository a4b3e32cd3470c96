#pragma once
#include <tinyxml.h>

#include <string_view>

#include "xml/nesting_scan.h"

namespace qv {

// Parses text (UTF-8, up to its first NUL) as a browser parses an HTML page,
// with gumbo, and builds the result into document as TinyXML nodes, so that
// the walks written for TinyXML documents read it: elements with their
// attributes (names in lower case, character references decoded) and every
// text node, blank ones too (HTML shows the blank between two inline
// elements). Comments, text inside script and style, and the content of
// template (which a browser does not show) are left out.
//
// Every node and attribute gets the row and column TinyXML would give the
// same character of text (see ParserPositions::position), so that positions
// lead back into text; an element the parser implied (html, head, body,
// tbody...) takes its parent's.
//
// A page beyond limits (see scanHtmlNesting) is not parsed: the result tells
// the first element beyond them, and document stays empty. Keeps no state
// between calls, and may run on any thread.
XmlExcess parseHtml(TiXmlDocument& document, std::string_view text, const XmlLimits& limits);

}  // namespace qv
