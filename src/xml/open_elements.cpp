#include "xml/open_elements.h"

#include <cctype>

namespace qv {

namespace {

// A name starts as the parser's names start: a letter, "_" or any byte of a
// non-ASCII character.
bool startsName(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 127 || std::isalpha(u) || c == '_';
}

bool inName(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 127 || std::isalnum(u) || c == '_' || c == '-' || c == '.' || c == ':';
}

// Past the first occurrence of marker at or after from, or end.
std::size_t pastMarker(std::string_view text, std::size_t from, std::string_view marker,
                       std::size_t end) {
    const std::size_t found = text.find(marker, from);
    return found == std::string_view::npos || found + marker.size() > end ? end
                                                                          : found + marker.size();
}

std::size_t nameEnd(std::string_view text, std::size_t at, std::size_t end) {
    while (at < end && inName(text[at])) ++at;
    return at;
}

// Past the ">" that ends a tag whose attributes start at at, skipping quoted
// values; end when there is none. empty tells whether it was "/>".
std::size_t tagEnd(std::string_view text, std::size_t at, std::size_t end, bool& empty) {
    char quote = '\0';
    for (; at < end; ++at) {
        const char c = text[at];
        if (quote != '\0') {
            if (c == quote) quote = '\0';
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            empty = text[at - 1] == '/';
            return at + 1;
        }
    }
    return end;
}

}  // namespace

std::vector<OpenElement> openElementsAt(std::string_view text, std::size_t offset) {
    const std::size_t end = offset < text.size() ? offset : text.size();
    std::vector<OpenElement> open;
    std::size_t at = text.find('<');
    while (at < end) {
        const std::string_view rest = text.substr(at);
        std::size_t next;
        if (rest.compare(0, 4, "<!--") == 0 || rest.compare(0, 9, "<![CDATA[") == 0) {
            const bool comment = rest[2] == '-';
            const std::size_t close = text.find(comment ? "-->" : "]]>", at + (comment ? 4 : 9));
            if (close == std::string_view::npos || close + 3 > end) {
                open.push_back(
                    {{}, at, comment ? OpenElement::Kind::Comment : OpenElement::Kind::Cdata});
                break;
            }
            next = close + 3;
        } else if (rest.compare(0, 2, "<!") == 0 || rest.compare(0, 2, "<?") == 0) {
            next = pastMarker(text, at + 2, ">", text.size());
        } else if (rest.compare(0, 2, "</") == 0) {
            const std::size_t nameStart = at + 2;
            const std::string_view name =
                text.substr(nameStart, nameEnd(text, nameStart, text.size()) - nameStart);
            next = pastMarker(text, nameStart, ">", text.size());
            if (next > end) break;  // the end tag the parser failed on
            for (std::size_t k = open.size(); k-- > 0;) {
                if (open[k].name == name) {
                    open.resize(k);
                    break;
                }
            }
        } else if (at + 1 < text.size() && startsName(text[at + 1])) {
            const std::size_t nameStop = nameEnd(text, at + 1, text.size());
            bool empty = false;
            next = tagEnd(text, nameStop, text.size(), empty);
            if (!empty) open.push_back({text.substr(at + 1, nameStop - at - 1), at});
        } else {
            next = at + 1;
        }
        if (next >= text.size()) break;
        at = text.find('<', next);
    }
    return open;
}

}  // namespace qv
