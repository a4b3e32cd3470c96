#include "check/parse_failure.h"

#include <cctype>
#include <cstring>
#include <vector>

#include "xml/open_elements.h"

namespace qv {

namespace {

bool inName(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 127 || std::isalnum(u) || c == '_' || c == '-' || c == '.' || c == ':';
}

// " (élément <li> ouvert en 18:3 non fermé)" for what is still open.
void describeOpen(const OpenElement& open, SourceMap& positions, FindingText& text) {
    const std::string where = lineAndColumn(positions.fromOffset(open.offset));
    switch (open.kind) {
        case OpenElement::Kind::Comment:
            text.push_back(" (commentaire ouvert en " + where + " non ferm\351 : \351crivez -->)");
            return;
        case OpenElement::Kind::Cdata:
            text.push_back(" (section CDATA ouverte en " + where +
                           " non ferm\351e : \351crivez ]]>)");
            return;
        case OpenElement::Kind::Element:
            break;
    }
    text.insert(text.end(), {" (\351l\351ment <", AuthorText{open.name},
                             "> ouvert en " + where + " non ferm\351)"});
}

// The parser stopped after a name that no "=" follows: right after it, or at
// the next attribute when blanks follow it ("crossorigin href=..."). The
// finding names it, at its end.
void describeValueless(std::string_view text, std::size_t offset, SourceMap& positions,
                       ParseFailure& described) {
    std::size_t end = offset;
    while (end > 0 && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
    if (end == 0 || !inName(text[end - 1])) return;
    std::size_t start = end;
    while (start > 0 && inName(text[start - 1])) --start;
    if (end != offset) {
        // Not the element's own name, which blanks also follow.
        if (start == 0 || text[start - 1] == '<') return;
        described.at = positions.fromOffset(end);
    }
    const std::string_view name = text.substr(start, end - start);
    described.description.insert(described.description.end(),
                                 {" (attribut ", AuthorText{name}, " sans valeur : \351crivez ",
                                  AuthorText{name}, "=\"", AuthorText{name}, "\")"});
}

}  // namespace

ParseFailure describeParseFailure(const XmlFailure& failure, SourceMap& positions) {
    if (failure.kind == XmlFailure::Kind::Refused) {
        return {positions.fromOffset(failure.excess.offset), {failure.description}};
    }
    ParseFailure described{positions.fromParser(failure.at), {failure.description}};
    const std::string_view text = positions.rewritten();
    std::size_t offset = positions.parserOffset(failure.at);
    const int error = failure.parserError;
    if (error == TiXmlBase::TIXML_ERROR_READING_END_TAG ||
        error == TiXmlBase::TIXML_ERROR_READING_ELEMENT_VALUE) {
        // Without a position, the parser ran into the end of the text.
        if (offset == std::string_view::npos) {
            offset = std::strlen(text.data());
            described.at = positions.fromOffset(offset);
        }
        const std::vector<OpenElement> open = openElementsAt(text, offset);
        if (!open.empty()) describeOpen(open.back(), positions, described.description);
    } else if (error == TiXmlBase::TIXML_ERROR_READING_ATTRIBUTES &&
               offset != std::string_view::npos && offset < text.size() && text[offset] != '=') {
        describeValueless(text, offset, positions, described);
    }
    return described;
}

}  // namespace qv