#pragma once
#include <tinyxml.h>

#include <cstddef>
#include <string>

#include "model/text_position.h"
#include "xml/nesting_scan.h"

namespace qv {

// Why a text did not parse, in the terms of the text the parser read.
struct XmlFailure {
    enum class Kind {
        None,
        Refused,        // beyond the limits: not parsed at all
        NotWellFormed,  // the parser stopped at an error; the document holds what it built
    };
    Kind kind = Kind::None;
    // Not well-formed: TinyXML's ErrorRow and ErrorCol ({0, 0} when it gave
    // none). Refused: {0, 0}; excess.offset says where.
    ParsedPosition at;
    XmlExcess excess;         // refused: which element, and which limit
    int parserError = 0;      // not well-formed: TinyXML's ErrorId
    std::string description;  // describeExcess's text (code page 1252), or TinyXML's ErrorDesc

    bool failed() const { return kind != Kind::None; }
};

// Where TinyXML says a node of its tree starts, in the text it parsed.
inline ParsedPosition parsedAt(const TiXmlBase& node) { return {node.Row(), node.Column()}; }

// The failure of a text refused by the limits before any parse.
XmlFailure refusedFailure(const XmlExcess& excess);

// Parses text (up to its first NUL) into document, read with encoding
// (TIXML_ENCODING_UNKNOWN leaves it to TinyXML's detection). The parser
// steps over a whole UTF-8 sequence from its lead byte, even a truncated one
// at the very end; text is padded with NUL bytes first so that such a step
// never leaves the buffer. A text beyond limits is not parsed.
XmlFailure parseXml(TiXmlDocument& document, std::string& text, TiXmlEncoding encoding,
                    const XmlLimits& limits);

}  // namespace qv
