#include "xml/text_positions.h"

#include <algorithm>
#include <cstring>

namespace qv {

void LineIndex::index() {
    starts_.push_back(0);
    const char* data = text_.data();
    for (std::size_t at = 0; at < text_.size();) {
        const void* found = std::memchr(data + at, '\n', text_.size() - at);
        if (found == nullptr) break;
        at = static_cast<const char*>(found) - data + 1;
        starts_.push_back(at);
    }
}

std::size_t LineIndex::lineOf(std::size_t offset) {
    if (starts_.empty()) index();
    return static_cast<std::size_t>(std::upper_bound(starts_.begin(), starts_.end(), offset) -
                                    starts_.begin()) -
           1;
}

std::size_t LineIndex::lineStart(std::size_t line) {
    if (starts_.empty()) index();
    return starts_[line];
}

std::size_t LineIndex::lineEnd(std::size_t line) {
    if (starts_.empty()) index();
    return line + 1 < starts_.size() ? starts_[line + 1] - 1 : text_.size();
}

TextPosition LineIndex::position(std::size_t offset) {
    offset = std::min(offset, text_.size());
    const std::size_t line = lineOf(offset);
    std::size_t from = starts_[line];
    TextPosition position{static_cast<int>(line) + 1, 1};
    if (lastOffset_ != std::string_view::npos && lastOffset_ >= from && lastOffset_ <= offset &&
        lastPosition_.row == position.row) {
        from = lastOffset_;
        position = lastPosition_;
    }
    for (std::size_t i = from; i < offset; ++i) {
        if ((static_cast<unsigned char>(text_[i]) & 0xC0) != 0x80) ++position.column;
    }
    lastOffset_ = offset;
    lastPosition_ = position;
    return position;
}

namespace {

// Bytes of the UTF-8 sequence a lead byte starts, as the parser steps: one
// for anything that cannot start a sequence.
std::size_t utf8Step(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 1;
}

// A byte order mark, U+FFFE or U+FFFF: characters the parser gives no column.
bool zeroWidth(std::string_view text, std::size_t at) {
    if (at + 2 >= text.size() || static_cast<unsigned char>(text[at]) != 0xEF) return false;
    const auto second = static_cast<unsigned char>(text[at + 1]);
    const auto third = static_cast<unsigned char>(text[at + 2]);
    return (second == 0xBB && third == 0xBF) ||
           (second == 0xBF && (third == 0xBE || third == 0xBF));
}

}  // namespace

std::size_t ParserPositions::offset(int row, int column) {
    if (row <= 0) return std::string_view::npos;
    if (rowStarts_.empty()) {
        rowStarts_.push_back(0);
        for (std::size_t i = 0; i < text_.size(); ++i) {
            const char c = text_[i];
            if (c != '\n' && c != '\r') continue;
            const char pair = c == '\n' ? '\r' : '\n';
            if (i + 1 < text_.size() && text_[i + 1] == pair) ++i;
            rowStarts_.push_back(i + 1);
        }
    }
    const std::size_t rowIndex = std::min(static_cast<std::size_t>(row - 1), rowStarts_.size() - 1);
    std::size_t at = rowStarts_[rowIndex];
    const std::size_t end =
        rowIndex + 1 < rowStarts_.size() ? rowStarts_[rowIndex + 1] : text_.size();
    const int target = column - 1;
    int col = 0;
    while (at < end) {
        if (utf8_ && zeroWidth(text_, at)) {
            at += 3;
            continue;
        }
        if (col >= target) break;
        const char c = text_[at];
        if (c == '\n' || c == '\r' || c == '\0') break;
        if (c == '\t') {
            col = (col / 4 + 1) * 4;
            ++at;
        } else {
            at += utf8_ ? utf8Step(static_cast<unsigned char>(c)) : 1;
            ++col;
        }
    }
    return std::min(at, text_.size());
}

}  // namespace qv
