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
    // The loaded text (kept here) and the rewritten text the parser read.
    SourceMap(std::string original, std::string_view rewritten, TiXmlEncoding encoding);
    SourceMap(const SourceMap&) = delete;
    SourceMap& operator=(const SourceMap&) = delete;

    // The position in the loaded text of TinyXML's row and column in the
    // rewritten text; {0, 0} when the parser gave none (row 0).
    TextPosition fromParser(int row, int column);
    // The position in the loaded text of an offset in the rewritten text.
    TextPosition fromOffset(std::size_t offset);
    // The offset in the rewritten text of TinyXML's row and column.
    std::size_t parserOffset(int row, int column) { return parser_.offset(row, column); }

    std::string_view rewritten() const { return rewritten_; }

private:
    std::size_t originalOffset(std::size_t offset);

    std::string kept_;
    std::string_view original_;
    std::string_view rewritten_;
    ParserPositions parser_;
    LineIndex originalLines_;
    LineIndex rewrittenLines_;
    LineWalks walks_;  // key: offset in the rewritten line; first: in the original line
};

// The offset in originalLine of offset in rewrittenLine, one line of a text
// before and after normalisation (exposed for tests).
std::size_t alignLineOffset(std::string_view originalLine, std::string_view rewrittenLine,
                            std::size_t offset);

}  // namespace qv
