#pragma once
#include <tinyxml.h>

#include <string>
#include <string_view>

namespace qv {

// What the page walk tells a check about the trees it builds, at the node
// of the page where it happens. Without notes the walk prints its own
// reports, as a run shows them.
class PageWalkNotes {
public:
    virtual ~PageWalkNotes() = default;

    // heading (h<number>) was attached more than one level below the
    // contents node before it, so the contents gets entries without a title
    // in between; previous is that node's heading number within this page
    // (0 or less when the node is the page's parent entry or the root).
    virtual void skippedLevels(const TiXmlElement& heading, int previous, int number) = 0;
    // An ix attribute inside an element whose text already makes a keyword:
    // it is left out.
    virtual void nestedKeyword(const TiXmlElement& element, const char* ixValue) = 0;
    // An ix value of more than kMaxKeywordLevels parts: the page is refused.
    virtual void deepKeyword(const TiXmlElement& element) = 0;
    // Text of a title or a keyword (utf8, at node) became cp1252 in the trees.
    virtual void converted(const TiXmlBase& node, std::string_view utf8, const std::string& cp1252,
                           bool title) = 0;
};

}  // namespace qv
