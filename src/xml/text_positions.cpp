#include "xml/text_positions.h"

#include <algorithm>
#include <cstring>

namespace qv {

const LineWalks::Place* LineWalks::from(std::size_t line, std::size_t key) const {
    const Place* best = nullptr;
    auto kept = places_.find(line);
    if (kept != places_.end()) {
        const std::vector<Place>& places = kept->second;
        auto after = std::upper_bound(places.begin(), places.end(), key,
                                      [](std::size_t k, const Place& p) { return k < p.key; });
        if (after != places.begin()) best = &*(after - 1);
    }
    if (lastLine_ == line && last_.key <= key && (best == nullptr || best->key < last_.key)) {
        best = &last_;
    }
    return best;
}

void LineWalks::reached(std::size_t line, const Place& place) {
    std::vector<Place>& places = places_[line];
    if (places.empty() || place.key >= places.back().key + kSpacing) places.push_back(place);
}

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
    std::size_t at = starts_[line];
    // A byte order mark is no character an editor shows.
    if (line == 0 && text_.compare(0, 3, "\xEF\xBB\xBF") == 0)
        at = std::min<std::size_t>(3, offset);
    std::size_t column = 1;
    if (const LineWalks::Place* place = walks_.from(line, offset)) {
        at = place->key;
        column = place->first;
    }
    for (std::size_t mark = at + LineWalks::kSpacing; at < offset; ++at) {
        if ((static_cast<unsigned char>(text_[at]) & 0xC0) != 0x80) ++column;
        if (at + 1 >= mark) {
            walks_.reached(line, {at + 1, column, 0});
            mark = at + 1 + LineWalks::kSpacing;
        }
    }
    walks_.stopped(line, {offset, column, 0});
    return {static_cast<int>(line) + 1, static_cast<int>(column)};
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

void ParserPositions::indexRows() {
    if (!rowStarts_.empty()) return;
    rowStarts_.push_back(0);
    const char* data = text_.data();
    const std::size_t size = text_.size();
    // Loaded text has its CR LF pairs folded: most texts hold no CR at all,
    // and their rows are found with memchr.
    const bool carriageReturns = std::memchr(data, '\r', size) != nullptr;
    for (std::size_t i = 0; i < size; ++i) {
        if (!carriageReturns) {
            const void* found = std::memchr(data + i, '\n', size - i);
            if (found == nullptr) break;
            i = static_cast<std::size_t>(static_cast<const char*>(found) - data);
        }
        const char c = data[i];
        if (c != '\n' && c != '\r') continue;
        const char pair = c == '\n' ? '\r' : '\n';
        if (i + 1 < size && data[i + 1] == pair) ++i;
        rowStarts_.push_back(i + 1);
    }
}

std::size_t ParserPositions::offset(ParsedPosition parsed) {
    const int row = parsed.row;
    const int column = parsed.column;
    if (row <= 0) return std::string_view::npos;
    indexRows();
    const std::size_t rowIndex = std::min(static_cast<std::size_t>(row - 1), rowStarts_.size() - 1);
    const std::size_t end =
        rowIndex + 1 < rowStarts_.size() ? rowStarts_[rowIndex + 1] : text_.size();
    const std::size_t target = column > 0 ? static_cast<std::size_t>(column - 1) : 0;
    std::size_t at = rowStarts_[rowIndex];
    std::size_t col = 0;
    if (const LineWalks::Place* place = walks_.from(rowIndex, target)) {
        col = place->key;
        at = place->first;
    }
    for (std::size_t mark = col + LineWalks::kSpacing; at < end;) {
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
        if (col >= mark) {
            walks_.reached(rowIndex, {col, at, 0});
            mark = col + LineWalks::kSpacing;
        }
    }
    walks_.stopped(rowIndex, {col, at, 0});
    return std::min(at, text_.size());
}

ParsedPosition ParserPositions::position(std::size_t offset) {
    indexRows();
    offset = std::min(offset, text_.size());
    const std::size_t row =
        static_cast<std::size_t>(std::upper_bound(rowStarts_.begin(), rowStarts_.end(), offset) -
                                 rowStarts_.begin()) -
        1;
    std::size_t at = rowStarts_[row];
    std::size_t col = 0;
    if (const LineWalks::Place* place = columns_.from(row, offset)) {
        at = place->key;
        col = place->first;
    }
    for (std::size_t mark = at + LineWalks::kSpacing; at < offset;) {
        const auto c = static_cast<unsigned char>(text_[at]);
        if (c == '\t') {
            col = (col / 4 + 1) * 4;
            ++at;
        } else if (c < 0x80 || !utf8_) {
            ++col;
            ++at;
        } else if (zeroWidth(text_, at)) {
            at += 3;
        } else {
            at += utf8Step(c);
            ++col;
        }
        if (at >= mark) {
            columns_.reached(row, {at, col, 0});
            mark = at + LineWalks::kSpacing;
        }
    }
    columns_.stopped(row, {at, col, 0});
    return {static_cast<int>(row) + 1, static_cast<int>(col) + 1};
}

}  // namespace qv
