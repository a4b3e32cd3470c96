#pragma once
#include <tinyxml.h>

#include <cstddef>
#include <string>

#include "xml/nesting_scan.h"

namespace qv {

// Parses text (up to its first NUL) into document, read with encoding
// (TIXML_ENCODING_UNKNOWN leaves it to TinyXML's detection). The parser
// steps over a whole UTF-8 sequence from its lead byte, even a truncated one
// at the very end; text is padded with NUL bytes first so that such a step
// never leaves the buffer. A text beyond limits is not parsed: the result
// then tells the first element beyond them.
XmlExcess parseXml(TiXmlDocument& document, std::string& text, TiXmlEncoding encoding,
                   const XmlLimits& limits);

}  // namespace qv
