#include "xml/parse_failure.h"

#include <cctype>
#include <cstring>
#include <vector>

#include "text/cp1252.h"
#include "xml/open_elements.h"

namespace qv {

namespace {

bool inName(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 127 || std::isalnum(u) || c == '_' || c == '-' || c == '.' || c == ':';
}

}  // namespace

ParseFailure describeParseFailure(const TiXmlDocument& document, SourceMap& positions) {
    ParseFailure failure{positions.fromParser(document.ErrorRow(), document.ErrorCol()),
                         document.ErrorDesc()};
    const std::string_view text = positions.rewritten();
    std::size_t offset = positions.parserOffset(document.ErrorRow(), document.ErrorCol());
    const int error = document.ErrorId();
    if (error == TiXmlBase::TIXML_ERROR_READING_END_TAG ||
        error == TiXmlBase::TIXML_ERROR_READING_ELEMENT_VALUE) {
        // Without a position, the parser ran into the end of the text.
        if (offset == std::string_view::npos) {
            offset = std::strlen(text.data());
            failure.where = positions.fromOffset(offset);
        }
        const std::vector<OpenElement> open = openElementsAt(text, offset);
        if (!open.empty()) {
            failure.description += " (\351l\351ment <" + utf8ToCp1252(open.back().name) +
                                   "> ouvert en " + rowAndColumn(positions.fromOffset(open.back().offset)) +
                                   " non ferm\351)";
        }
    } else if (error == TiXmlBase::TIXML_ERROR_READING_ATTRIBUTES &&
               offset != std::string_view::npos && offset > 0 && offset < text.size() &&
               text[offset] != '=' && inName(text[offset - 1])) {
        // The parser stopped right after a name that no "=" follows.
        std::size_t start = offset;
        while (start > 0 && inName(text[start - 1])) --start;
        const std::string name = utf8ToCp1252(text.substr(start, offset - start));
        failure.description +=
            " (attribut " + name + " sans valeur : \351crivez " + name + "=\"" + name + "\")";
    }
    return failure;
}

}  // namespace qv
