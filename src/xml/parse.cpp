#include "xml/parse.h"

namespace qv {

XmlExcess parseXml(TiXmlDocument& document, std::string& text, TiXmlEncoding encoding,
                   const XmlLimits& limits) {
    constexpr std::size_t kLongestUtf8Sequence = 4;
    text.append(kLongestUtf8Sequence, '\0');
    const char* xml = text.c_str();
    const XmlExcess excess = findExcessiveElement(xml, encoding, limits);
    if (!excess.found()) document.Parse(xml, nullptr, encoding);
    return excess;
}

}  // namespace qv
