#pragma once
#include <string>
#include <vector>

#include "chm/chm_file.h"
#include "io/file_reader.h"
#include "model/help_project.h"

namespace qv {

// What the collection could not take in, each file once, with the first
// file (page or style sheet) that references it.
struct CollectionProblem {
    enum Kind { Missing, Outside, BadName };
    Kind kind;
    std::string file;          // as the reference leads to it, relative to the list's folder
    std::string referencedBy;  // relative to the list's folder; empty: the list itself
};

struct CollectedFiles {
    std::vector<ChmFile> files;  // the pages first, in list order, then what they reference
    std::vector<CollectionProblem> problems;
};

// The pages of the project and every local file they reference (href, src,
// and url() in style sheets and style elements), followed from page to page
// and from style sheet to style sheet, as the help compiler collects them.
// Files outside the list file's folder tree are not taken in.
CollectedFiles collectFiles(const HelpProject& project, const FileReader& reader);

// The references of an HTML page, in the order they appear: the href and src
// values of its tags (with "&amp;" decoded) and the url() values of its style
// elements; comments and scripts left out. Of a style sheet: its url() values.
std::vector<std::string> referencesIn(const std::string& text, bool styleSheet);

}  // namespace qv
