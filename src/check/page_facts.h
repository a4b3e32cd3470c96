#pragma once
#include <tinyxml.h>

#include <string>
#include <vector>

#include "model/text_position.h"

namespace qv {

// An href or src value of a page, and where its attribute is in the text
// the parser read.
struct PageLink {
    std::string value;  // UTF-8, references decoded
    ParsedPosition parsed;
};

// What a check keeps of a page for what shows only across pages.
struct PageFacts {
    bool parsed = false;  // the page parsed and was walked
    // The anchors a browser reaches (see browserAnchor), each once.
    std::vector<std::string> anchors;
    std::vector<PageLink> links;
};

// An anchor given a second time in a page, and the attribute that first gave it.
struct RepeatedAnchor {
    const TiXmlAttribute* again;
    const TiXmlAttribute* first;
};

// A heading that the contents leaves out for want of an id or name of its
// own, and the link inside it that carries one instead.
struct BareHeading {
    const TiXmlElement* heading;
    const TiXmlAttribute* anchor;
};

// What a check notes of a page's markup, in document order.
struct PageMarks {
    std::vector<RepeatedAnchor> repeated;
    std::vector<BareHeading> bare;
};

// Walks a parsed page for its facts: its anchors, its href and src values,
// and its marks.
PageMarks gatherFacts(const TiXmlDocument& document, PageFacts& facts);

}  // namespace qv
