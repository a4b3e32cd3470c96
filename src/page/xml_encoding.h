#pragma once
#include <tinyxml.h>

namespace qv {

// The encoding to parse a document with: UTF-8, unless the document begins
// with an XML declaration naming another encoding, in which case the parser
// detects it itself.
TiXmlEncoding chooseXmlEncoding(const char* text);

}  // namespace qv
