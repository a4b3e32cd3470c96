#include "text/tidy_text.h"

namespace qv {

namespace {

bool isBlank(unsigned char c) { return c <= 0x20 || c == 0xA0; }

}  // namespace

void tidyText(std::string& text) {
    std::size_t end = text.size();
    while (end > 0) {
        unsigned char c = static_cast<unsigned char>(text[end - 1]);
        if (!isBlank(c) && c != ':' && c != '.') break;
        --end;
    }
    std::size_t start = 0;
    while (start < end && isBlank(static_cast<unsigned char>(text[start]))) ++start;

    // Line feeds and tabs become spaces, then each run of spaces is one space.
    std::size_t out = 0;
    bool lastWasSpace = false;
    for (std::size_t in = start; in < end; ++in) {
        char c = text[in];
        if (c == '\n' || c == '\t') c = ' ';
        if (c == ' ' && lastWasSpace) continue;
        lastWasSpace = c == ' ';
        text[out++] = c;
    }
    text.resize(out);
}

}  // namespace qv
