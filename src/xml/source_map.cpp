#include "xml/source_map.h"

#include <algorithm>

#include "text/entities.h"

namespace qv {

namespace {

// Past a run of at least kAgreement equal bytes (or the ends of both lines),
// the two lines are taken to be in step again.
constexpr std::size_t kAgreement = 4;
// How far ahead on either line the next agreement is looked for: a named
// entity and its semicolon take at most 11 bytes.
constexpr std::size_t kLookAhead = 16;
// The longest name of a character entity.
constexpr std::size_t kLongestName = 9;

bool agree(std::string_view a, std::size_t i, std::string_view b, std::size_t j) {
    for (std::size_t k = 0; k < kAgreement; ++k, ++i, ++j) {
        const bool aEnded = i >= a.size();
        const bool bEnded = j >= b.size();
        if (aEnded || bEnded) return aEnded && bEnded;
        if (a[i] != b[j]) return false;
    }
    return true;
}

bool startsWith(std::string_view text, std::size_t at, std::string_view prefix) {
    return text.compare(at, prefix.size(), prefix) == 0;
}

// Steps i (original) and j (rewritten) over one change or one equal byte.
void step(std::string_view original, std::string_view rewritten, std::size_t& i, std::size_t& j) {
    const char o = original[i];
    const char r = rewritten[j];
    if (o == r) {
        // A stray ampersand written as "&amp;".
        const bool escaped = o == '&' && startsWith(rewritten, j + 1, "amp;") &&
                             !startsWith(original, i + 1, "amp;");
        ++i;
        j += escaped ? 5 : 1;
        return;
    }
    if (r == '/' && o == '>') {  // a void element closed
        ++j;
        return;
    }
    if (o == '&') {  // a named entity replaced by its character
        const std::size_t name = original.substr(i + 1, kLongestName + 1).find(';');
        const std::size_t semicolon = i + 1 + name;
        std::string_view utf8;
        if (name != std::string_view::npos &&
            lookupCharacterEntity(original.substr(i + 1, name), utf8) &&
            startsWith(rewritten, j, utf8)) {
            i = semicolon + 1;
            j += utf8.size();
            return;
        }
    }
    // Some other change: the nearest place where the lines agree again.
    for (std::size_t distance = 1; distance <= 2 * kLookAhead; ++distance) {
        for (std::size_t skipped = 0; skipped <= distance; ++skipped) {
            const std::size_t inserted = distance - skipped;
            if (skipped > kLookAhead || inserted > kLookAhead) continue;
            if (agree(original, i + skipped, rewritten, j + inserted)) {
                i += skipped;
                j += inserted;
                return;
            }
        }
    }
    ++i;
    ++j;
}

}  // namespace

SourceMap::SourceMap(std::string_view text, TiXmlEncoding encoding)
    : original_(text),
      rewritten_(text),
      parser_(text, encoding),
      originalLines_(text),
      rewrittenLines_(text) {}

SourceMap::SourceMap(std::string_view original, std::string_view rewritten, TiXmlEncoding encoding)
    : original_(original),
      rewritten_(rewritten),
      parser_(rewritten, encoding),
      originalLines_(original_),
      rewrittenLines_(rewritten) {}

std::size_t SourceMap::originalOffset(std::size_t offset) {
    if (original_.data() == rewritten_.data()) return offset;
    offset = std::min(offset, rewritten_.size());
    const std::size_t line = rewrittenLines_.lineOf(offset);
    const std::size_t rewrittenStart = rewrittenLines_.lineStart(line);
    const std::size_t lastOriginalLine = originalLines_.lineOf(original_.size());
    if (line > lastOriginalLine) return original_.size();  // the rewrite did not keep the lines
    const std::size_t originalStart = originalLines_.lineStart(line);
    const std::string_view originalLine =
        original_.substr(originalStart, originalLines_.lineEnd(line) - originalStart);
    const std::string_view rewrittenLine =
        rewritten_.substr(rewrittenStart, rewrittenLines_.lineEnd(line) - rewrittenStart);
    const std::size_t target = offset - rewrittenStart;
    std::size_t i = 0;
    std::size_t j = 0;
    if (const LineWalks::Place* place = walks_.from(line, target)) {
        j = place->key;
        i = place->first;
    }
    for (std::size_t mark = j + LineWalks::kSpacing;
         j < target && i < originalLine.size() && j < rewrittenLine.size();) {
        step(originalLine, rewrittenLine, i, j);
        if (j >= mark) {
            walks_.reached(line, {j, i, 0});
            mark = j + LineWalks::kSpacing;
        }
    }
    i = std::min(i, originalLine.size());
    walks_.stopped(line, {j, i, 0});
    return originalStart + i;
}

TextPosition SourceMap::fromOffset(std::size_t offset) {
    return originalLines_.position(originalOffset(offset));
}

TextPosition SourceMap::fromParser(ParsedPosition parsed) {
    const std::size_t offset = parser_.offset(parsed);
    if (offset == std::string_view::npos) return {0, 0};
    return fromOffset(offset);
}

}  // namespace qv
