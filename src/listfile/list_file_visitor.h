#pragma once
#include <tinyxml.h>

#include <string>
#include <vector>

#include "listfile/read_list_file.h"

namespace qv {

// What a check sees of the list walk: every element, as the walk enters it.
class ListWalkNotes {
public:
    virtual ~ListWalkNotes() = default;
    virtual void entering(const TiXmlElement& element) = 0;
};

// Walks the list file: records the title and the templates, and hands every
// page named by a "file" element on the moment it is met.
class ListFileVisitor : public TiXmlVisitor {
public:
    ListFileVisitor(HelpProject& project, const ListedPageHandler& handlePage,
                    ListWalkNotes* notes = nullptr)
        : project_(project), handlePage_(handlePage), notes_(notes) {}

    bool VisitEnter(const TiXmlElement& element, const TiXmlAttribute* firstAttribute) override;
    bool VisitExit(const TiXmlElement& element) override;

    // 0, or the status of the first page that failed.
    int status() const { return status_; }

private:
    // Takes the help's language from the files element's "language".
    int chooseLanguage(const char* value);

    HelpProject& project_;
    const ListedPageHandler& handlePage_;
    ListWalkNotes* const notes_;
    int depth_ = 0;  // enclosing "file" elements that have a name
    int status_ = 0;
};

// The names of the pages a ListFileVisitor hands on, in the order it meets
// them; its walk may stop before the last.
std::vector<std::string> listedPages(const TiXmlDocument& list);

}  // namespace qv
