#include "page/normalise.h"

#include <cctype>
#include <cstring>

#include "page/entities.h"

namespace qv {

namespace {

const char* const kVoidTags[] = {"<meta", "<link", "<img", "<br", "<hr", "<wbr", "<frame "};

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

void closeVoidTag(std::string_view tag, std::string& text) {
    std::size_t found = text.find(tag);
    if (found == std::string::npos) return;
    std::string out;
    out.reserve(text.size() + text.size() / 64);
    std::size_t copied = 0;  // text before this position is already in out
    while (found != std::string::npos) {
        std::size_t close = text.find('>', found);
        if (close == std::string::npos) break;
        out.append(text, copied, close - copied);
        if (text[close - 1] != '/') out.push_back('/');
        copied = close;
        found = text.find(tag, close + 1);
    }
    out.append(text, copied, std::string::npos);
    text.swap(out);
}

void decodeEntities(std::string& text) {
    std::string out;
    std::size_t copied = 0;
    std::size_t semicolon = 0;  // the next ";" after the "&" being examined
    std::size_t amp = text.find('&');
    while (amp != std::string::npos) {
        if (semicolon <= amp) semicolon = text.find(';', amp + 1);
        if (semicolon == std::string::npos) break;
        std::size_t nameLength = semicolon - amp - 1;
        std::string_view utf8;
        if (nameLength <= kLongestEntityName) {
            std::string_view name(text.data() + amp + 1, nameLength);
            if (lookupCharacterEntity(name, utf8)) {
                if (out.empty()) out.reserve(text.size());
                out.append(text, copied, amp - copied);
                out.append(utf8);
                copied = semicolon + 1;
            }
            // A reference left as it is is not scanned again either.
            amp = text.find('&', semicolon + 1);
        } else {
            amp = text.find('&', amp + 1);
        }
    }
    if (copied == 0) return;
    out.append(text, copied, std::string::npos);
    text.swap(out);
}

void escapeStrayAmpersands(std::string& text) {
    std::size_t amp = text.find('&');
    if (amp == std::string::npos) return;
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    std::size_t copied = 0;
    while (amp != std::string::npos) {
        std::size_t length = xmlReferenceLength(text, amp);
        if (length == 0) {
            out.append(text, copied, amp + 1 - copied);
            out.append("amp;");
            copied = amp + 1;
            amp = text.find('&', amp + 1);
        } else {
            amp = text.find('&', amp + length);
        }
    }
    out.append(text, copied, std::string::npos);
    text.swap(out);
}

void normalisePage(std::string& text) {
    for (const char* tag : kVoidTags) closeVoidTag(tag, text);
    decodeEntities(text);
    escapeStrayAmpersands(text);
}

}  // namespace qv
