#pragma once
#include <string>

#include "io/text_stream.h"

namespace qv {

// The six lines that open a sitemap file (.hhc and .hhk).
void writeSitemapHeader(TextStream& out);

// Writes the fragment of a sitemap link: none for an empty anchor or for the
// top-of-page anchor, "#anchor" otherwise.
TextStream& writeFragment(TextStream& out, const std::string& anchor);

}  // namespace qv
