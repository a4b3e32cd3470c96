#pragma once
#include <string>

namespace qv {

class TextStream;

// The six lines that open a sitemap file (.hhc and .hhk).
void writeSitemapHeader(TextStream& out);

// The fragment of a sitemap or contents link: none for an empty anchor or
// for "titre", which stands for the top of the page; "#anchor" otherwise.
std::string fragmentFor(const std::string& anchor);

}  // namespace qv
