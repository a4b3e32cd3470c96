#include "xml/source_position.h"

namespace qv {

namespace {

constexpr int kTabSize = 4;  // TinyXML's default

// The bytes TinyXML steps over for the character led by lead.
std::size_t utf8Step(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 1;
}

bool isZeroWidth(std::string_view text, std::size_t at) {
    if (at + 2 >= text.size() || static_cast<unsigned char>(text[at]) != 0xEF) return false;
    const auto second = static_cast<unsigned char>(text[at + 1]);
    const auto third = static_cast<unsigned char>(text[at + 2]);
    return (second == 0xBB && third == 0xBF) || (second == 0xBF && (third == 0xBE || third == 0xBF));
}

}  // namespace

std::size_t SourcePositions::offsetOf(int row, int column) {
    if (lineStarts_.empty()) {
        lineStarts_.push_back(0);
        for (std::size_t i = 0; i < text_.size(); ++i) {
            const char c = text_[i];
            if (c != '\n' && c != '\r') continue;
            const char pair = c == '\n' ? '\r' : '\n';
            if (i + 1 < text_.size() && text_[i + 1] == pair) ++i;
            lineStarts_.push_back(i + 1);
        }
    }
    if (row < 1 || static_cast<std::size_t>(row) > lineStarts_.size()) return text_.size();
    std::size_t at = lineStarts_[static_cast<std::size_t>(row) - 1];
    for (int col = 0; col < column - 1 && at < text_.size();) {
        const auto c = static_cast<unsigned char>(text_[at]);
        if (c == '\n' || c == '\r' || c == '\0') break;
        if (c == '\t') {
            col = (col / kTabSize + 1) * kTabSize;
            ++at;
        } else if (isZeroWidth(text_, at)) {
            at += 3;
        } else {
            at += utf8Step(c);
            ++col;
        }
    }
    while (isZeroWidth(text_, at)) at += 3;
    return at < text_.size() ? at : text_.size();
}

}  // namespace qv
