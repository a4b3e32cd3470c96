#pragma once
#include <string>
#include <string_view>

namespace qv {

// Makes a loose HTML page parseable as XML, in place: closes the void
// elements, replaces the named character entities by their UTF-8 text, and
// writes every ampersand that does not start an XML reference as "&amp;".
void normalisePage(std::string& text);

// For each of the count tags in turn (each begins with "<"), inserts "/"
// before the first ">" after each occurrence of the tag unless the ">"
// already follows a "/"; a tag's pass ends at an occurrence with no ">".
// All the passes are made in one scan.
void closeVoidTags(const std::string_view* tags, std::size_t count, std::string& text);

// Replaces each "&name;" whose name (at most 9 bytes, up to the next ";") is
// a known character entity. The pass ends at the first "&" with no ";" after it.
void decodeEntities(std::string& text);

// Writes as "&amp;" every "&" that does not begin &amp; &lt; &gt; &quot;
// &apos; or a numeric character reference, so the XML parser keeps it;
// those inside CDATA sections and comments stay as they are.
void escapeStrayAmpersands(std::string& text);

}  // namespace qv
