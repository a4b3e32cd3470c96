#pragma once
#include <string>

#include "model/text_position.h"
#include "xml/nesting_scan.h"
#include "xml/parse.h"

namespace qv {

// The line and column a run's parse-error message gives: TinyXML's own for a
// text that did not parse, as the message has always shown them; for a text
// refused by the limits, where the first element beyond them starts in text,
// the text the parser was given.
inline TextPosition messagePosition(const XmlFailure& failure, const std::string& text) {
    if (failure.kind == XmlFailure::Kind::Refused) return positionOf(text, failure.excess.offset);
    return {failure.at.row, failure.at.column};
}

}  // namespace qv
