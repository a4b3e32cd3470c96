#include "xml/parse.h"

#include <algorithm>

namespace qv {

namespace {

// Whether text is certainly within limits, judged from two counts: every
// element begins with "<" and every attribute holds "=". Most pages are far
// from every limit, and counting costs a fraction of the scan that follows
// the parser's rules.
bool withinLimitsByCount(const std::string& text, const XmlLimits& limits) {
    const auto elements = static_cast<std::size_t>(std::count(text.begin(), text.end(), '<'));
    if (elements > limits.nesting) return false;
    if (static_cast<std::size_t>(std::count(text.begin(), text.end(), '=')) > limits.attributes) {
        return false;
    }
    // The k-th element is created at most k levels deep, so the work is at
    // most 1 + 2 + ... + m for the m elements past the free depth.
    const std::size_t counted = elements > kFreeDepth ? elements - kFreeDepth : 0;
    return counted * (counted + 1) / 2 <= limits.work;
}

}  // namespace

XmlFailure refusedFailure(const XmlExcess& excess) {
    XmlFailure failure;
    failure.kind = XmlFailure::Kind::Refused;
    failure.excess = excess;
    failure.description = describeExcess(excess);
    return failure;
}

XmlFailure parseXml(TiXmlDocument& document, std::string& text, TiXmlEncoding encoding,
                    const XmlLimits& limits) {
    constexpr std::size_t kLongestUtf8Sequence = 4;
    text.append(kLongestUtf8Sequence, '\0');
    const char* xml = text.c_str();
    if (!withinLimitsByCount(text, limits)) {
        const XmlExcess excess = findExcessiveElement(xml, encoding, limits);
        if (excess.found()) return refusedFailure(excess);
    }
    XmlFailure failure;
    document.Parse(xml, nullptr, encoding);
    if (document.Error()) {
        failure.kind = XmlFailure::Kind::NotWellFormed;
        failure.at = {document.ErrorRow(), document.ErrorCol()};
        failure.parserError = document.ErrorId();
        failure.description = document.ErrorDesc();
    }
    return failure;
}

}  // namespace qv
