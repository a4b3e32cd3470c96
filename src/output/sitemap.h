#pragma once
#include <string>

namespace qv {

class TextStream;

// The six lines that open a sitemap file (.hhc and .hhk).
void writeSitemapHeader(TextStream& out);

// Writes the fragment of a sitemap or contents link: none for an empty
// anchor or for "titre", which stands for the top of the page; "#anchor"
// otherwise.
TextStream& writeFragment(TextStream& out, const std::string& anchor);

}  // namespace qv
