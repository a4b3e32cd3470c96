#pragma once
#include <string>

#include "model/page_syntax.h"
#include "page/page_check.h"
#include "page/tree_builder.h"

namespace qv {

// Analyses one page of the list: normalises its text, parses it and walks it
// into the contents and index trees; with PageSyntax::Html, parses it as a
// browser parses HTML instead, which cannot fail. pageName is the page as the list file
// names it (what the trees link to), pageDepth the number of page entries of
// the list that enclose it, path where it was loaded from. A page that does
// not parse is reported, with a diagnostic copy (path + ".xml") of what the
// parser built. Returns 0 or kStatusInvalidData.
// With check, nothing is printed and no copy is written: what the analysis
// finds goes to check->findings, at positions in the page as it was given,
// and check gathers the page's anchors and links.
int analysePage(TreeBuilder& trees, const std::string& pageName, int pageDepth,
                const std::string& path, std::string& text, PageSyntax syntax,
                PageFacts* check = nullptr);

}  // namespace qv
