#pragma once
#include <functional>
#include <string>
#include <vector>

#include "listfile/list_notes.h"
#include "model/help_project.h"

namespace qv {

// What the list walk does with each page the moment its "file" element is
// met: given the page's name as the list gives it and the number of page
// entries that enclose it, returns a status (a failure ends the walk).
using ListedPageHandler = std::function<int(const std::string& name, int depth)>;

// Told, once the list is parsed and before it is walked, the names of the
// pages the walk will hand on, in the order it will (it may stop before the
// last), so that their loading can start ahead of it.
using ListedPagesHandler = std::function<void(std::vector<std::string> names)>;

// Parses the list file's text and walks it: records the help's title, the
// pages, the default page and the templates in project, and hands every
// page to handlePage in list order. What the parse and the walk meet goes
// to notes. A list that does not parse is walked as far as the parser built
// it; one refused before parsing (too deep, too many attributes) returns
// kStatusInvalidData.
int readListFile(HelpProject& project, const std::string& path, std::string& text,
                 const ListedPageHandler& handlePage, ListNotes& notes,
                 const ListedPagesHandler& pagesAhead = nullptr);

}  // namespace qv
