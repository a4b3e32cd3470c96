#pragma once
#include <string>

#include "page/page_notes.h"

namespace qv {

// A page's notes as a run gives them: the parse error of a page that does
// not parse, with a diagnostic copy (its path + ".xml") of what the parser
// built, and the nested or too deep "ix" attributes; everything else passes
// in silence.
class PageMessages : public PageNotes {
public:
    // pageName: the page as the list file names it, which the walk's
    // messages show.
    explicit PageMessages(const std::string& pageName) : pageName_(pageName) {}

    void failed(PreparedPage& page) override;
    void skippedLevels(const TiXmlElement&, int, int) override {}
    void unplacedPage(const TiXmlElement&, int) override {}
    void untitledHeading(const TiXmlElement&) override {}
    void nestedKeyword(const TiXmlElement& element, const char* ixValue) override;
    void emptyKeyword(const TiXmlElement&) override {}
    void deepKeyword(const TiXmlElement& element) override;
    void lostAnchorCharacter(const TiXmlElement&, std::string_view) override {}
    void converted(const TiXmlBase&, std::string_view, const std::string&, bool) override {}
    void entryAnchored(const TiXmlElement&, const TiXmlAttribute&) override {}
    void contextMarked(const TiXmlElement&, const TiXmlAttribute&) override {}
    void walked(const PreparedPage&) override {}

private:
    const std::string& pageName_;
};

}  // namespace qv
