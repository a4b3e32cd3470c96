#pragma once
#include <string>
#include <string_view>

namespace qv {

// Appends code page 1252 text as a sitemap file holds it: bytes from 0x80 up
// as named entities (or "&#xHH;" where no name exists), the markup
// characters " & < > as numeric references, everything else unchanged.
void appendEntities(std::string& out, std::string_view text);

// Appends code page 1252 text as an HTML page holds it: the no-break space
// and the markup characters as entities, other bytes from 0x80 up as UTF-8
// (U+0080 plus the byte), everything else unchanged.
void appendUtf8Html(std::string& out, std::string_view text);

}  // namespace qv
