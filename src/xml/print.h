#pragma once
#include <tinyxml.h>

#include <functional>
#include <string_view>

namespace qv {

// The text TinyXML writes for a document when it saves it to a file, with
// the parser's own line feeds, handed to sink in pieces as it is printed: a
// deeply nested document prints to hundreds of times its size (four spaces
// per level on every line), which must not be held in memory whole.
void printDocument(const TiXmlDocument& document,
                   const std::function<void(std::string_view)>& sink);

}  // namespace qv
