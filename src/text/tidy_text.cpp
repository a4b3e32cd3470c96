#include "text/tidy_text.h"

namespace qv {

namespace {

bool isNoBreakSpaceEnd(const std::string& text, std::size_t end, bool utf8) {
    if (static_cast<unsigned char>(text[end - 1]) != 0xA0) return false;
    return !utf8 || (end >= 2 && static_cast<unsigned char>(text[end - 2]) == 0xC2);
}

// The length of the white space that ends at end (just before it), or 0.
std::size_t blankEndingAt(const std::string& text, std::size_t end, bool utf8) {
    if (static_cast<unsigned char>(text[end - 1]) <= 0x20) return 1;
    if (isNoBreakSpaceEnd(text, end, utf8)) return utf8 ? 2 : 1;
    return 0;
}

// The length of the white space that starts at start, or 0.
std::size_t blankStartingAt(const std::string& text, std::size_t start, std::size_t end,
                            bool utf8) {
    const auto c = static_cast<unsigned char>(text[start]);
    if (c <= 0x20) return 1;
    const std::size_t length = utf8 ? 2 : 1;
    if (end - start >= length && isNoBreakSpaceEnd(text, start + length, utf8)) return length;
    return 0;
}

// The end of text once trailing white space is removed, and with it the
// trailing "." and ":" when dots is set.
std::size_t trimmedEnd(const std::string& text, bool utf8, bool dots) {
    std::size_t end = text.size();
    while (end > 0) {
        const std::size_t blank = blankEndingAt(text, end, utf8);
        if (blank == 0 && (!dots || (text[end - 1] != ':' && text[end - 1] != '.'))) break;
        end -= blank == 0 ? 1 : blank;
    }
    return end;
}

std::size_t trimmedStart(const std::string& text, std::size_t end, bool utf8) {
    std::size_t start = 0;
    while (start < end) {
        const std::size_t blank = blankStartingAt(text, start, end, utf8);
        if (blank == 0) break;
        start += blank;
    }
    return start;
}

void tidy(std::string& text, bool utf8) {
    // "Voir aussi..." loses its dots; a title made only of dots and colons
    // ("...", "::") keeps them rather than vanish.
    std::size_t end = trimmedEnd(text, utf8, true);
    std::size_t start = trimmedStart(text, end, utf8);
    if (start == end) {
        end = trimmedEnd(text, utf8, false);
        start = trimmedStart(text, end, utf8);
    }

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

}  // namespace

void tidyText(std::string& text) { tidy(text, false); }

void tidyUtf8Text(std::string& text) { tidy(text, true); }

}  // namespace qv
