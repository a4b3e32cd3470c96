#include "xml/parse_failure.h"

#include <cstring>
#include <vector>

#include "text/cp1252.h"
#include "xml/open_elements.h"

namespace qv {

std::string describeParseFailure(const TiXmlDocument& document, SourceMap& positions) {
    std::string description = document.ErrorDesc();
    if (document.ErrorId() != TiXmlBase::TIXML_ERROR_READING_END_TAG) return description;
    const std::string_view text = positions.rewritten();
    std::size_t offset = positions.parserOffset(document.ErrorRow(), document.ErrorCol());
    if (offset == std::string_view::npos) offset = std::strlen(text.data());
    const std::vector<OpenElement> open = openElementsAt(text, offset);
    if (open.empty()) return description;
    const TextPosition opened = positions.fromOffset(open.back().offset);
    return description + " (\351l\351ment <" + utf8ToCp1252(open.back().name) + "> ouvert en " +
           std::to_string(opened.row) + ":" + std::to_string(opened.column) + " non ferm\351)";
}

}  // namespace qv
