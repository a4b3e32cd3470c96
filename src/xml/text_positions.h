#pragma once
#include <tinyxml.h>

#include <cstddef>
#include <string_view>
#include <vector>

#include "xml/nesting_scan.h"

namespace qv {

// Lines and columns as an editor shows them: each line feed ends a line, and
// a column counts characters (a UTF-8 sequence, any other byte, a tab: one
// each), both from 1. The line starts are found on the first question.
class LineIndex {
public:
    explicit LineIndex(std::string_view text) : text_(text) {}

    std::size_t lineOf(std::size_t offset);  // from 0
    std::size_t lineStart(std::size_t line);
    // The line's line feed, or the end of the text.
    std::size_t lineEnd(std::size_t line);

    // The position of offset. Columns are counted from the line start, or
    // from the previous answer when it lies earlier on the same line, so that
    // positions asked in increasing order cost one pass over a long line.
    TextPosition position(std::size_t offset);

private:
    void index();

    std::string_view text_;
    std::vector<std::size_t> starts_;
    std::size_t lastOffset_ = std::string_view::npos;
    TextPosition lastPosition_{0, 0};
};

// The byte offset of a position TinyXML gives (Row(), Column(), ErrorRow(),
// ErrorCol(), from 1) in the text it parsed. Its rows end at "\n", "\r",
// "\r\n" or "\n\r"; a tab moves its column to the next multiple of 4; in
// UTF-8 a character is one column, and a byte order mark, U+FFFE and U+FFFF
// none; in other encodings every byte is one column.
class ParserPositions {
public:
    ParserPositions(std::string_view text, TiXmlEncoding encoding)
        : text_(text), utf8_(encoding == TIXML_ENCODING_UTF8) {}

    // npos for row 0: the parser gave no position.
    std::size_t offset(int row, int column);

private:
    std::string_view text_;
    bool utf8_;
    std::vector<std::size_t> rowStarts_;
};

}  // namespace qv
