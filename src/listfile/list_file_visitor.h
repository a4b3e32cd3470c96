#pragma once
#include <tinyxml.h>

#include <string>
#include <vector>

#include "listfile/list_notes.h"
#include "listfile/read_list_file.h"
#include "model/page_syntax.h"

namespace qv {

// The reading a "pages" value names: "xml" or "html", in any case. False
// for any other value.
bool findPageSyntax(const char* value, PageSyntax& syntax);

// Whether a "pageentries" value turns page entries on: "yes" or "no", in
// any case. False for any other value.
bool findPageEntries(const char* value, bool& pageEntries);

// Walks the list file: records the title and the templates, and hands every
// page named by a "file" element on the moment it is met.
class ListFileVisitor : public TiXmlVisitor {
public:
    ListFileVisitor(HelpProject& project, const ListedPageHandler& handlePage, ListNotes& notes)
        : project_(project), handlePage_(handlePage), notes_(notes) {}

    bool VisitEnter(const TiXmlElement& element, const TiXmlAttribute* firstAttribute) override;
    bool VisitExit(const TiXmlElement& element) override;

    // 0, or the status of the first page that failed.
    int status() const { return status_; }

private:
    // Takes the help's language from the files element's "language".
    int chooseLanguage(const TiXmlAttribute& language);
    // Takes how the pages are read from the files element's "pages".
    int choosePageSyntax(const TiXmlAttribute& pages);
    // Takes whether every page gets an entry from the files element's "pageentries".
    int choosePageEntries(const TiXmlAttribute& pageEntries);

    HelpProject& project_;
    const ListedPageHandler& handlePage_;
    ListNotes& notes_;
    int depth_ = 0;  // enclosing "file" elements that have a name
    int status_ = 0;
};

// The names of the pages a ListFileVisitor hands on, in the order it meets
// them; its walk may stop before the last.
std::vector<std::string> listedPages(const TiXmlDocument& list);

}  // namespace qv
