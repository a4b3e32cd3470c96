#pragma once
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "check/page_findings.h"
#include "io/file_reader.h"
#include "model/finding.h"
#include "model/help_project.h"

namespace qv {

// Where the links of the help set's pages lead: to local files that exist,
// and to anchors that exist in pages of the set. Links to a page further
// down the list wait for it.
class LinkRule {
public:
    LinkRule(const HelpProject& project, const FileReader& reader, FindingSink& findings)
        : project_(project), reader_(reader), findings_(findings) {}

    // The page the list names pageName was read for the first time; listed
    // holds the files the list names as pages (as helpSetPath gives them).
    void pageRead(const std::string& pageName, PageFindings& page,
                  const std::unordered_set<std::string>& listed);
    // Once every page is read: the links that waited.
    void finish();

private:
    // A page of the help set, by its helpSetPath.
    struct PageAnchors {
        bool parsed = false;
        std::unordered_set<std::string> anchors;
    };
    // A link to an anchor: where it is, and where it leads.
    struct AnchorLink {
        std::string path;  // of the page the link is in
        TextPosition at;
        std::string value;
        std::string target;  // helpSetPath of the page, empty for the same page
        std::string fragment;
        std::string fragmentAsWritten;
    };

    void follow(const std::string& pageName, const PageAnchors& own, PageFindings& page,
                const PageLink& link, const std::unordered_set<std::string>& listed);
    // A browser looks for the fragment as written, then percent-decoded.
    bool lacks(const PageAnchors& page, const std::string& fragment,
               const std::string& asWritten) const {
        return page.parsed && page.anchors.count(asWritten) == 0 &&
               page.anchors.count(fragment) == 0;
    }
    void missingAnchor(const AnchorLink& link);

    const HelpProject& project_;
    const FileReader& reader_;
    FindingSink& findings_;
    std::unordered_map<std::string, PageAnchors> pages_;
    std::unordered_map<std::string, bool> exists_;
    std::vector<AnchorLink> waiting_;
};

}  // namespace qv
