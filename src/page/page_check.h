#pragma once
#include <tinyxml.h>

#include <memory>
#include <string>
#include <vector>

#include "model/finding.h"
#include "page/page_walk_notes.h"
#include "xml/nesting_scan.h"
#include "xml/source_map.h"

namespace qv {

// An href or src value of a page, and where its attribute is, as TinyXML
// gives it in the normalised text.
struct PageLink {
    std::string value;  // UTF-8, references decoded
    int row;
    int column;
};

// What a check asks of a page's analysis (see analysePage): the page's own
// findings go to findings, and the rest is gathered here for checks across
// pages.
struct PageFacts {
    explicit PageFacts(FindingSink& sink) : findings(sink) {}

    FindingSink& findings;
    bool parsed = false;               // the page parsed and was walked
    std::vector<std::string> anchors;  // its ids, and names of links and headings, each once
    std::vector<PageLink> links;
    // Positions in the page as loaded for the parser's; valid while the
    // text analysePage was given lives.
    std::unique_ptr<SourceMap> positions;
};

// The check side of one page's analysis: turns what the parse and the walk
// meet into findings, at positions in the page as loaded.
class PageCheck : public PageWalkNotes {
public:
    // loaded: the page before normalisation; parsed: the text the parser read
    // (it must outlive facts.positions).
    PageCheck(PageFacts& facts, const std::string& path, std::string loaded,
              const std::string& parsed);
    // A page parsed as it was loaded.
    PageCheck(PageFacts& facts, const std::string& path, const std::string& parsed);

    void refused(const XmlExcess& excess);
    void parseError(const TiXmlDocument& document);
    // After the walk: the anchors and links of the page, and its ids given twice.
    void walked(const TiXmlDocument& document);

    void skippedLevels(const TiXmlElement& heading, int previous, int number) override;
    void nestedKeyword(const TiXmlElement& element, const char* ixValue) override;
    void deepKeyword(const TiXmlElement& element) override;
    void converted(const TiXmlBase& node, std::string_view utf8, const std::string& cp1252,
                   bool title) override;

private:
    void report(TextPosition where, Severity severity, std::string message);
    TextPosition at(const TiXmlBase& node);

    PageFacts& facts_;
    const std::string& path_;
};

}  // namespace qv
