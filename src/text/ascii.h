#pragma once

namespace qv {

// ASCII case and blanks as HTML reads them in markup: element and attribute
// names, and the names of the compiled help's files, ignore ASCII case only;
// the blanks between attributes are these five.

inline char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

inline bool isHtmlBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

}  // namespace qv
