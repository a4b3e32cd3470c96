#pragma once
#include <cstddef>
#include <string_view>
#include <vector>

namespace qv {

// Finds where a node's row and column, as TinyXML counts them when it
// parses text as UTF-8, fall in that text. TinyXML ends a line at LF, CR,
// CR LF or LF CR, moves a tab to the next multiple of 4 columns, counts a
// UTF-8 sequence as one column and the byte order mark as none.
class SourcePositions {
public:
    explicit SourcePositions(std::string_view text) : text_(text) {}

    // The offset of row and column (both from 1), or the end of the text
    // when they lie beyond it.
    std::size_t offsetOf(int row, int column);

private:
    std::string_view text_;
    std::vector<std::size_t> lineStarts_;  // built on the first call
};

}  // namespace qv
