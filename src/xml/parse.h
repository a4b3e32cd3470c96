#pragma once
#include <tinyxml.h>

#include <cstddef>
#include <string>

#include "xml/nesting_scan.h"

namespace qv {

// The encoding to parse a document with: UTF-8, unless the document begins
// with an XML declaration naming another encoding, in which case the parser
// detects it itself.
TiXmlEncoding chooseXmlEncoding(const char* text);

// Parses text (up to its first NUL) into document with the encoding above.
// The parser steps over a whole UTF-8 sequence from its lead byte, even a
// truncated one at the very end; text is padded with NUL bytes first so that
// such a step never leaves the buffer.
// A text beyond kXmlLimits is not parsed: the result then tells the first
// element beyond them.
XmlExcess parseXml(TiXmlDocument& document, std::string& text);

}  // namespace qv
