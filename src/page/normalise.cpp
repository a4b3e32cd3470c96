#include "page/normalise.h"

#include <cctype>
#include <cstring>
#include <iterator>
#include <vector>

#include "text/entities.h"

namespace qv {

namespace {

const std::string_view kVoidTags[] = {"<meta", "<link", "<img", "<br", "<hr", "<wbr", "<frame "};

constexpr std::size_t kLongestEntityName = 9;

bool startsWith(std::string_view text, std::size_t at, std::string_view prefix) {
    return text.compare(at, prefix.size(), prefix) == 0;
}

// Length of the XML reference at text[at] ("&"), or 0 when there is none.
std::size_t xmlReferenceLength(std::string_view text, std::size_t at) {
    static const std::string_view kPredefined[] = {"&amp;", "&lt;", "&gt;", "&quot;", "&apos;"};
    for (std::string_view name : kPredefined) {
        if (startsWith(text, at, name)) return name.size();
    }
    std::size_t i = at + 1;
    if (i >= text.size() || text[i] != '#') return 0;
    ++i;
    bool hex = i < text.size() && text[i] == 'x';
    if (hex) ++i;
    std::size_t digitsStart = i;
    while (i < text.size() && (hex ? std::isxdigit(static_cast<unsigned char>(text[i]))
                                   : std::isdigit(static_cast<unsigned char>(text[i])))) {
        ++i;
    }
    if (i == digitsStart || i >= text.size() || text[i] != ';') return 0;
    return i + 1 - at;
}

}  // namespace

void closeVoidTags(const std::string_view* tags, std::size_t count, std::string& text) {
    // Each tag's own pass would insert "/" before the first ">" after each of
    // its occurrences, resuming its search after that ">", and stop at an
    // occurrence without one. Inserting "/" neither makes nor breaks an
    // occurrence nor moves a ">" relative to the others, and a ">" that
    // already follows "/" is left alone, so the passes together add one "/"
    // before every ">" that some tag's pass reaches and that does not follow
    // "/" in the original text. One scan over the "<" finds them all.
    std::vector<std::size_t> resume(count, 0);  // where each tag's search goes on
    std::vector<unsigned char> ended(count, 0);

    const char* data = text.data();
    const std::size_t size = text.size();
    std::vector<std::size_t> closes;  // the ">" to close, in increasing order
    std::size_t close = 0;            // the first ">" at or after some earlier "<"
    bool closeKnown = false;
    for (const void* found = std::memchr(data, '<', size); found != nullptr;) {
        const std::size_t at = static_cast<const char*>(found) - data;
        const char second = at + 1 < size ? data[at + 1] : '\0';
        for (std::size_t t = 0; t < count; ++t) {
            const std::string_view tag = tags[t];
            if (ended[t] || at < resume[t] || (tag.size() > 1 && tag[1] != second)) continue;
            if (size - at < tag.size() || std::memcmp(data + at, tag.data(), tag.size()) != 0) {
                continue;
            }
            if (!closeKnown || close < at) {
                const void* gt = std::memchr(data + at, '>', size - at);
                if (gt == nullptr) {
                    ended[t] = true;  // and every later occurrence has no ">" either
                    continue;
                }
                close = static_cast<const char*>(gt) - data;
                closeKnown = true;
            }
            if (closes.empty() || closes.back() != close) closes.push_back(close);
            resume[t] = close + 1;
        }
        if (at + 1 >= size) break;
        found = std::memchr(data + at + 1, '<', size - at - 1);
    }

    std::string out;
    std::size_t copied = 0;  // text before this position is already in out
    for (std::size_t at : closes) {
        if (data[at - 1] == '/') continue;
        if (out.empty()) out.reserve(size + closes.size());
        out.append(text, copied, at - copied);
        out.push_back('/');
        copied = at;
    }
    if (copied == 0) return;
    out.append(text, copied, std::string::npos);
    text.swap(out);
}

void decodeEntities(std::string& text) {
    // A character's text is never longer than its reference, so the page is
    // rewritten in place: what lies between replacements moves down.
    char* data = text.data();
    const std::size_t size = text.size();
    auto next = [&](char c, std::size_t from) -> std::size_t {
        if (from >= size) return std::string::npos;
        const void* found = std::memchr(data + from, c, size - from);
        return found == nullptr ? std::string::npos : static_cast<const char*>(found) - data;
    };
    std::size_t written = 0;    // end of the rewritten text
    std::size_t copied = 0;     // text before this position is already rewritten
    std::size_t semicolon = 0;  // the next ";" after the "&" being examined
    std::size_t amp = next('&', 0);
    while (amp != std::string::npos) {
        if (semicolon <= amp) semicolon = next(';', amp + 1);
        if (semicolon == std::string::npos) break;
        const std::size_t nameLength = semicolon - amp - 1;
        if (nameLength <= kLongestEntityName) {
            std::string_view utf8;
            if (lookupCharacterEntity(std::string_view(data + amp + 1, nameLength), utf8)) {
                if (written != copied) std::memmove(data + written, data + copied, amp - copied);
                written += amp - copied;
                for (char c : utf8) data[written++] = c;
                copied = semicolon + 1;
            }
            // A reference left as it is is not scanned again either.
            amp = next('&', semicolon + 1);
        } else {
            amp = next('&', amp + 1);
        }
    }
    if (copied == 0) return;
    std::memmove(data + written, data + copied, size - copied);
    text.resize(written + size - copied);
}

namespace {

// The next CDATA section or comment at or after from: its start, and in end
// the position just past it (the end of the text when it is not closed).
// npos when there is none.
std::size_t nextVerbatimRegion(const std::string& text, std::size_t from, std::size_t& end) {
    for (std::size_t at = text.find("<!", from); at != std::string::npos;
         at = text.find("<!", at + 2)) {
        std::string_view closer;
        if (startsWith(text, at, "<![CDATA[")) {
            closer = "]]>";
        } else if (startsWith(text, at, "<!--")) {
            closer = "-->";
        } else {
            continue;
        }
        std::size_t close = text.find(closer, at + 4);
        end = close == std::string::npos ? text.size() : close + closer.size();
        return at;
    }
    return std::string::npos;
}

}  // namespace

void escapeStrayAmpersands(std::string& text) {
    // Most pages have none: nothing is copied until the first one. The
    // parser keeps CDATA sections and comments byte for byte, so ampersands
    // inside them stay as they are.
    std::string out;
    std::size_t copied = 0;
    std::size_t regionEnd = 0;
    std::size_t region = std::string::npos;
    std::size_t amp = text.find('&');
    if (amp != std::string::npos) region = nextVerbatimRegion(text, 0, regionEnd);
    while (amp != std::string::npos) {
        if (region != std::string::npos && region < amp) {
            if (amp < regionEnd) amp = text.find('&', regionEnd);
            region = nextVerbatimRegion(text, regionEnd, regionEnd);
            continue;
        }
        std::size_t length = xmlReferenceLength(text, amp);
        if (length == 0) {
            if (out.empty()) out.reserve(text.size() + text.size() / 32);
            out.append(text, copied, amp + 1 - copied);
            out.append("amp;");
            copied = amp + 1;
            amp = text.find('&', amp + 1);
        } else {
            amp = text.find('&', amp + length);
        }
    }
    if (copied == 0) return;
    out.append(text, copied, std::string::npos);
    text.swap(out);
}

void normalisePage(std::string& text) {
    closeVoidTags(kVoidTags, std::size(kVoidTags), text);
    decodeEntities(text);
    escapeStrayAmpersands(text);
}

}  // namespace qv
