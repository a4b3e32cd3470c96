#pragma once
#include <cstddef>
#include <string_view>
#include <vector>

namespace qv {

// An element whose start tag has been read and whose end tag has not; or a
// comment or CDATA section whose end marker has not come.
struct OpenElement {
    enum class Kind { Element, Comment, Cdata };
    std::string_view name;  // points into the scanned text; empty for a comment or CDATA
    std::size_t offset;     // of its "<"
    Kind kind = Kind::Element;
};

// What is open at offset in loose markup, outermost first: what the parser
// still waited to see closed when it failed there. The scan reads start tags
// (quoted attribute values may hold ">"), empty-element tags, end tags,
// comments, CDATA sections, declarations and processing instructions;
// anything else is text. An end tag closes the innermost open element of
// exactly its name (names compare as the parser compares them, with their
// case) and every element opened inside it; an end tag that no open element
// matches is passed over, and so is one that offset cuts (the tag the
// parser failed on). A comment or CDATA section with no end before offset
// is the last thing open: the parser reads one to its end marker, or to the
// end of the text.
std::vector<OpenElement> openElementsAt(std::string_view text, std::size_t offset);

}  // namespace qv
