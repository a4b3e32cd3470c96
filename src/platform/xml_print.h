#pragma once
#include <tinyxml.h>

#include <string>

namespace qv {

// The text TinyXML writes for a document when it saves it to a file, with
// the parser's own line feeds.
std::string printDocument(const TiXmlDocument& document);

}  // namespace qv
