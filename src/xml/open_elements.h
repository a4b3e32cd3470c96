#pragma once
#include <cstddef>
#include <string_view>
#include <vector>

namespace qv {

// An element whose start tag has been read and whose end tag has not.
struct OpenElement {
    std::string_view name;  // points into the scanned text
    std::size_t offset;     // of its "<"
};

// The elements open at offset in loose markup, outermost first: what the
// parser still waited to see closed when it failed there. The scan reads
// start tags (quoted attribute values may hold ">"), empty-element tags,
// end tags, comments, CDATA sections, declarations and processing
// instructions; anything else is text. An end tag closes the innermost open
// element of exactly its name (names compare as the parser compares them,
// with their case) and every element opened inside it; an end tag that no
// open element matches is passed over.
std::vector<OpenElement> openElementsAt(std::string_view text, std::size_t offset);

}  // namespace qv
