#pragma once
#include <tinyxml.h>

#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "listfile/list_file_visitor.h"
#include "model/finding.h"
#include "xml/nesting_scan.h"
#include "xml/source_map.h"

namespace qv {

// The check side of reading the list file (see readListFile): reports what
// the parse and the walk meet, and keeps where the list names each page
// and template, for findings about them.
class ListFileCheck : public ListWalkNotes {
public:
    // text: the list's text, which must not change and must outlive the
    // reading; afterwards only the positions kept here are used.
    ListFileCheck(FindingSink& findings, const std::string& path, const std::string& text)
        : findings_(findings), path_(path), text_(text) {}

    const std::string& path() const { return path_; }
    FindingSink& findings() { return findings_; }

    void refused(const XmlExcess& excess);
    void parseError(const TiXmlDocument& document);
    // Before the walk: notes every page the list names, so that links to
    // pages further down the list are known as pages of the help set.
    void parsed(const TiXmlDocument& document);
    // Unknown elements and attributes, entries without a name, a help title
    // that code page 1252 cannot hold; and where the element is.
    void entering(const TiXmlElement& element) override;

    // The element the walk entered last: while a page is handed on, its
    // "file" element.
    TextPosition current() const { return current_; }
    // The list's first element, {1, 1} when there is none.
    TextPosition root() const { return root_; }
    // Whether the list names the file (in the form of helpSetPath) as a page.
    bool listsPage(const std::string& path) const { return pages_.count(path) != 0; }
    // The first "table" or "index" element that names the template, or {0, 0}.
    TextPosition templateEntry(const std::string& name) const;

private:
    SourceMap& positions();
    void report(TextPosition where, Severity severity, std::string message);

    FindingSink& findings_;
    const std::string path_;
    const std::string& text_;
    std::optional<SourceMap> positions_;
    TextPosition current_{0, 0};
    TextPosition root_{1, 1};
    bool rootSeen_ = false;
    std::unordered_map<std::string, TextPosition> templates_;
    std::unordered_set<std::string> pages_;
};

}  // namespace qv
