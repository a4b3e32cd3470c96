#pragma once
#include <string>

namespace qv {

// Where TinyXML says a node, an attribute or an error is, in the text it
// parsed: its row and column from 1, a tab moving the column to the next
// multiple of 4 and a byte order mark taking none; {0, 0} when it gave none.
// A SourceMap turns it into a TextPosition.
struct ParsedPosition {
    int row = 0;
    int column = 0;
};

// Where an editor puts the cursor in a file as given: its line and column,
// both from 1, the column counting characters; {0, 0} means no place is
// known.
struct TextPosition {
    int line = 0;
    int column = 0;
};

// "line:column", as messages show a position.
inline std::string lineAndColumn(TextPosition position) {
    return std::to_string(position.line) + ":" + std::to_string(position.column);
}

}  // namespace qv
