#include "xml/parse.h"

#include <cctype>
#include <cstring>
#include <string_view>

namespace qv {

namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

}  // namespace

TiXmlEncoding chooseXmlEncoding(const char* text) {
    std::string_view rest(text);
    if (rest.substr(0, 3) == "\xEF\xBB\xBF") return TIXML_ENCODING_UTF8;
    std::size_t start = 0;
    while (start < rest.size() && std::isspace(static_cast<unsigned char>(rest[start]))) ++start;
    rest.remove_prefix(start);
    if (rest.substr(0, 5) != "<?xml") return TIXML_ENCODING_UTF8;
    std::string_view declaration = rest.substr(0, rest.find("?>"));
    std::size_t key = declaration.find("encoding");
    if (key == std::string_view::npos) return TIXML_ENCODING_UTF8;
    std::size_t quote = declaration.find_first_of("\"'", key);
    if (quote == std::string_view::npos) return TIXML_ENCODING_UTF8;
    std::size_t end = declaration.find(declaration[quote], quote + 1);
    if (end == std::string_view::npos) return TIXML_ENCODING_UTF8;
    std::string_view name = declaration.substr(quote + 1, end - quote - 1);
    if (name.empty() || equalsIgnoringCase(name, "UTF-8") || equalsIgnoringCase(name, "UTF8")) {
        return TIXML_ENCODING_UTF8;
    }
    return TIXML_ENCODING_UNKNOWN;
}

XmlExcess parseXml(TiXmlDocument& document, std::string& text) {
    constexpr std::size_t kLongestUtf8Sequence = 4;
    text.append(kLongestUtf8Sequence, '\0');
    const char* xml = text.c_str();
    const TiXmlEncoding encoding = chooseXmlEncoding(xml);
    const XmlExcess excess = findExcessiveElement(xml, encoding, kXmlLimits);
    if (!excess.found()) document.Parse(xml, nullptr, encoding);
    return excess;
}

}  // namespace qv
