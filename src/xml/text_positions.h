#pragma once
#include <tinyxml.h>

#include <cstddef>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/text_position.h"

namespace qv {

// Where walks along the lines of a text have been, so that a question about
// a line starts from the nearest place a walk reached before it rather than
// from the line start: questions in any order cost at most kSpacing steps
// more than one walk over each line. A place is a key that grows along the
// line (what questions are asked by) and the walk's state there.
class LineWalks {
public:
    static constexpr std::size_t kSpacing = 1024;  // between the places kept, in keys

    struct Place {
        std::size_t key;
        std::size_t first;
        std::size_t second;
    };

    // The place nearest before key on line, or null.
    const Place* from(std::size_t line, std::size_t key) const;
    // A walk on line got to place: kept when it lies kSpacing past the last kept.
    void reached(std::size_t line, const Place& place);
    // A walk on line stopped at place.
    void stopped(std::size_t line, const Place& place) {
        lastLine_ = line;
        last_ = place;
    }

private:
    std::unordered_map<std::size_t, std::vector<Place>> places_;
    std::size_t lastLine_ = std::string_view::npos;
    Place last_{0, 0, 0};
};

// Lines and columns as an editor shows them: each line feed ends a line, and
// a column counts characters (a UTF-8 sequence, any other byte, a tab: one
// each; a byte order mark none), both from 1. The line starts are found on the first question.
class LineIndex {
public:
    explicit LineIndex(std::string_view text) : text_(text) {}

    std::size_t lineOf(std::size_t offset);  // from 0
    std::size_t lineStart(std::size_t line);
    // The line's line feed, or the end of the text.
    std::size_t lineEnd(std::size_t line);

    // The position of offset; columns are counted along the line (see LineWalks).
    TextPosition position(std::size_t offset);

private:
    void index();

    std::string_view text_;
    std::vector<std::size_t> starts_;
    LineWalks walks_;  // key: offset; first: column
};

// The byte offset of a position TinyXML gives (Row() and Column(), or
// ErrorRow() and ErrorCol(), as line and column) in the text it parsed. Its rows end at "\n", "\r",
// "\r\n" or "\n\r"; a tab moves its column to the next multiple of 4; in
// UTF-8 a character is one column, and a byte order mark, U+FFFE and U+FFFF
// none; in other encodings every byte is one column.
class ParserPositions {
public:
    ParserPositions(std::string_view text, TiXmlEncoding encoding)
        : text_(text), utf8_(encoding == TIXML_ENCODING_UTF8) {}

    // npos for line 0: the parser gave no position.
    std::size_t offset(ParsedPosition parsed);
    // The line and column TinyXML would give the character at offset: what
    // offset() turns back into that offset, for a tree another parser built.
    ParsedPosition position(std::size_t offset);

private:
    void indexRows();

    std::string_view text_;
    bool utf8_;
    std::vector<std::size_t> rowStarts_;
    LineWalks walks_;    // key: column (from 0); first: offset
    LineWalks columns_;  // key: offset; first: column (from 0)
};

}  // namespace qv
