#pragma once
#include <string>

namespace qv {

// A place in a text: its line and column, both from 1. What a column counts
// depends on who gives it (an editor's characters, or the parser's own
// steps); {0, 0} means no place is known.
struct TextPosition {
    int line = 0;
    int column = 0;
};

// "line:column", as messages show a position.
inline std::string lineAndColumn(TextPosition position) {
    return std::to_string(position.line) + ":" + std::to_string(position.column);
}

}  // namespace qv
