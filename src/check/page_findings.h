#pragma once
#include <tinyxml.h>

#include <optional>
#include <string>
#include <vector>

#include "check/context_findings.h"
#include "check/page_facts.h"
#include "model/finding.h"
#include "page/page_notes.h"
#include "text/text_cut.h"
#include "xml/parse.h"
#include "xml/source_map.h"

namespace qv {

struct PreparedPage;

// A page's notes as a check takes them: findings about the page, at places
// in the page as the author wrote it, and the facts for the checks across
// pages.
class PageFindings : public PageNotes {
public:
    // page must have been prepared with its loaded text kept, and outlive
    // this. parentMissing: a page entry that encloses this page failed, so
    // the contents holds nothing above the page's first headings. The
    // page's context marks go to contexts.
    PageFindings(FindingSink& findings, const PreparedPage& page, bool parentMissing,
                 ContextFindings& contexts);

    void failed(PreparedPage& page) override;
    void skippedLevels(const TiXmlElement& heading, int previous, int number) override;
    void unplacedPage(const TiXmlElement& heading, int number) override;
    void untitledHeading(const TiXmlElement& heading) override;
    void nestedKeyword(const TiXmlElement& element, const char* ixValue) override;
    void emptyKeyword(const TiXmlElement& element) override;
    void deepKeyword(const TiXmlElement& element) override;
    void lostAnchorCharacter(const TiXmlElement& element, std::string_view anchor) override;
    void converted(const TiXmlBase& node, std::string_view utf8, const std::string& cp1252,
                   bool title) override;
    void entryAnchored(const TiXmlElement& element, const TiXmlAttribute& anchor) override;
    // Names that are no C identifier, at the ctx attribute; the others go
    // to contexts.
    void contextMarked(const TiXmlElement& element, const TiXmlAttribute& ctx) override;
    // Repeated anchors, headings marked the old way, and entries whose
    // anchor no browser reaches.
    void walked(const PreparedPage& page) override;

    const PageFacts& facts() const { return facts_; }
    // The place in the page as loaded of a place the parser gives.
    TextPosition fromParser(ParsedPosition parsed) { return positions().fromParser(parsed); }

private:
    SourceMap& positions();
    TextPosition at(const TiXmlBase& node);
    TextPosition characterAt(const TiXmlBase& node, std::string_view character, std::size_t length);
    void report(TextPosition where, Severity severity, FindingText message);
    bool failureAtCut(const XmlFailure& failure);
    void reportUndecodedReferences(const TiXmlBase& node, std::string_view utf8, bool title);
    void reportLostCharacter(const TiXmlBase& node, std::string_view utf8,
                             const std::string& cp1252, bool title);
    void reportUnreachableAnchors();

    FindingSink& findings_;
    ContextFindings& contexts_;
    const PreparedPage& page_;
    const bool parentMissing_;
    const TextCut cut_;
    std::optional<SourceMap> positions_;
    PageFacts facts_;
    // The anchors entries link to, by the element that set each, in
    // document order.
    struct EntryAnchor {
        const TiXmlElement* element;
        const TiXmlAttribute* anchor;
    };
    std::vector<EntryAnchor> entryAnchors_;
};

}  // namespace qv
