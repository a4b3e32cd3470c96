#pragma once
#include <tinyxml.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "xml/nesting_scan.h"
#include "xml/text_positions.h"

namespace qv {

// Maps positions in the text the parser read back to the text as it was
// loaded, which is what the author edits. The rewrite between the two must
// keep every line feed: a page's normalisation does (it inserts "/" before
// some ">", replaces named entities by their characters and writes stray
// ampersands as "&amp;"). Each line of the rewritten text is matched against
// the same line of the original as far as questions need: those
// three changes are recognised, and anything else the rewrite did is found
// again by the nearest place where the two lines agree once more.
class SourceMap {
public:
    // A text that was parsed as it was loaded.
    SourceMap(std::string_view text, TiXmlEncoding encoding);
    // The loaded text and the rewritten text the parser read; both must
    // outlive the map.
    SourceMap(std::string_view original, std::string_view rewritten, TiXmlEncoding encoding);
    SourceMap(const SourceMap&) = delete;
    SourceMap& operator=(const SourceMap&) = delete;

    // The position in the loaded text of a position TinyXML gives in the
    // rewritten text; {0, 0} when the parser gave none (line 0).
    TextPosition fromParser(ParsedPosition parsed);
    // The position in the loaded text of an offset in the rewritten text.
    TextPosition fromOffset(std::size_t offset);
    // The offset in the rewritten text of a position TinyXML gives.
    std::size_t parserOffset(ParsedPosition parsed) { return parser_.offset(parsed); }
    // The offset in the loaded text of an offset in the rewritten text.
    std::size_t originalOffset(std::size_t offset);
    // The position of an offset in the loaded text.
    TextPosition fromOriginalOffset(std::size_t offset) { return originalLines_.position(offset); }

    std::string_view original() const { return original_; }
    std::string_view rewritten() const { return rewritten_; }

private:
    std::string_view original_;
    std::string_view rewritten_;
    ParserPositions parser_;
    LineIndex originalLines_;
    LineIndex rewrittenLines_;
    LineWalks walks_;  // key: offset in the rewritten line; first: in the original line
};

}  // namespace qv
