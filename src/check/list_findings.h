#pragma once
#include <tinyxml.h>

#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "check/context_findings.h"
#include "listfile/list_notes.h"
#include "model/finding.h"
#include "text/input_encoding.h"
#include "text/text_cut.h"
#include "xml/source_map.h"

namespace qv {

// The list file's notes as a check takes them (see readListFile): findings
// about the list, and where the list names each page and template, for
// findings about them; the headers it names go to contexts.
class ListFindings : public ListNotes {
public:
    // text: the list's text as loaded (decoding says how), which must
    // outlive the reading; afterwards only the positions kept here are used.
    ListFindings(FindingSink& findings, const std::string& path, const std::string& text,
                 const InputDecoding& decoding, ContextFindings& contexts);

    const std::string& path() const { return path_; }

    void failed(const XmlFailure& failure) override;
    // Before the walk: notes every page the list names, so that links to
    // pages further down the list are known as pages of the help set, and
    // hands every header it names to contexts, so that the pages' marks
    // meet their numbers.
    void parsed(const TiXmlDocument& document) override;
    // Unknown elements and attributes, entries without a name, a help title
    // that code page 1252 cannot hold; and where the element is.
    void entering(const TiXmlElement& element) override;
    // An error at the attribute; the walk goes on.
    int unknownLanguage(const TiXmlAttribute& language) override;
    int unknownPageSyntax(const TiXmlAttribute& pages) override;
    int unknownPageEntries(const TiXmlAttribute& pageEntries) override;

    // The element the walk entered last: while a page is handed on, its
    // "file" element.
    TextPosition current() const { return current_; }
    // The list's first element, {1, 1} when there is none.
    TextPosition root() const { return root_; }
    // The files the list names as pages, in the form of helpSetPath.
    const std::unordered_set<std::string>& pages() const { return pages_; }
    // The first "table" or "index" element that names the template, or {0, 0}.
    TextPosition templateEntry(const std::string& name) const;

private:
    class MapEntries : public TiXmlVisitor {
    public:
        explicit MapEntries(ListFindings& list) : list_(list) {}
        bool VisitEnter(const TiXmlElement& element, const TiXmlAttribute*) override;

    private:
        ListFindings& list_;
    };

    SourceMap& positions();
    void report(TextPosition where, Severity severity, FindingText message);
    void reportCut();

    FindingSink& findings_;
    ContextFindings& contexts_;
    const std::string path_;
    const std::string& text_;
    const TextCut cut_;
    bool cutReported_ = false;
    std::optional<SourceMap> positions_;
    TextPosition current_;
    TextPosition root_{1, 1};
    bool rootSeen_ = false;
    std::unordered_map<std::string, TextPosition> templates_;
    std::unordered_set<std::string> pages_;
};

}  // namespace qv
