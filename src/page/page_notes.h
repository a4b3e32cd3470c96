#pragma once
#include <tinyxml.h>

#include <string>
#include <string_view>

namespace qv {

struct PreparedPage;

// What the analysis of one page tells whoever reads the help set: a run's
// notes print the messages a run shows (and write the diagnostic copy), a
// check's turn everything into findings. Nodes are those of the page's
// parse tree, placed in the text the parser read (PreparedPage::text).
class PageNotes {
public:
    virtual ~PageNotes() = default;

    // The page did not parse (page.failure says why): nothing of it is walked.
    virtual void failed(PreparedPage& page) = 0;

    // During the walk into the trees:
    // heading (h<number>) was attached more than one level below the
    // contents node before it, so the contents gets entries without a title
    // in between; previous is that node's heading number within this page
    // (0 or less when the node is the page's parent entry or the root).
    virtual void skippedLevels(const TiXmlElement& heading, int previous, int number) = 0;
    // heading (h<number>, number > 1) is the page's first with an anchor, and
    // page entries are off: the page has no entry of its own, and its
    // headings go below the entry before it.
    virtual void unplacedPage(const TiXmlElement& heading, int number) = 0;
    // heading gave a contents entry whose title is empty.
    virtual void untitledHeading(const TiXmlElement& heading) = 0;
    // An ix attribute inside an element whose text already makes a keyword:
    // it is left out.
    virtual void nestedKeyword(const TiXmlElement& element, const char* ixValue) = 0;
    // element's text was to be its keyword, and it has none: no keyword.
    virtual void emptyKeyword(const TiXmlElement& element) = 0;
    // An entry of the contents or the index links to anchor, set by element,
    // which code page 1252 cannot hold whole: the compiled help misses it.
    virtual void lostAnchorCharacter(const TiXmlElement& element, std::string_view anchor) = 0;
    // An ix value of more than kMaxKeywordLevels parts: the page is refused.
    virtual void deepKeyword(const TiXmlElement& element) = 0;
    // Text of a title or a keyword (utf8, at node) became cp1252 in the trees.
    virtual void converted(const TiXmlBase& node, std::string_view utf8, const std::string& cp1252,
                           bool title) = 0;

    // A contents or index entry was made that links to the anchor (an id or
    // name attribute) that element set.
    virtual void entryAnchored(const TiXmlElement& element, const TiXmlAttribute& anchor) = 0;

    // element marks contexts (its ctx attribute, whose names are in the
    // project's contexts already), at the anchor the marks link to.
    virtual void contextMarked(const TiXmlElement& element, const TiXmlAttribute& ctx) = 0;

    // The walk is over (it may have stopped at a refusal).
    virtual void walked(const PreparedPage& page) = 0;
};

}  // namespace qv
