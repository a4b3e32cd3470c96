#pragma once
#include <tinyxml.h>

#include <memory>
#include <string>

#include "page/page_check.h"
#include "page/tree_builder.h"
#include "xml/nesting_scan.h"

namespace qv {

// A page made ready for its walk: normalised and parsed, or refused. Making
// it touches no tree, prints nothing and writes no file, so pages can be
// prepared on any thread, ahead of the walk.
struct PreparedPage {
    std::string text;    // the normalised text the document was parsed from
    std::string loaded;  // the page as given, kept only for a check's positions
    std::unique_ptr<TiXmlDocument> document;  // what the parser built
    XmlExcess excess;    // found: refused before parsing (the document is empty)
};

// Normalises text and parses it. keepLoaded keeps a copy of text as given.
PreparedPage preparePage(std::string text, bool keepLoaded);

// Makes the process-wide parser setting that preparePage needs (blanks kept
// in text) before pages are prepared on several threads, which then only
// read it.
void keepBlanksInPages();

// The walk of a prepared page, in list order: a page that was refused or does
// not parse is reported, with a diagnostic copy (path + ".xml") of what the
// parser built; otherwise it is walked into the contents and index trees.
// pageName is the page as the list file names it (what the trees link to),
// pageDepth the number of page entries of the list that enclose it, path
// where it was loaded from. Returns 0 or kStatusInvalidData.
// With check, nothing is printed and no copy is written: what the analysis
// finds goes to check->findings, at positions in the page as it was given
// (page must have been prepared with keepLoaded), and check gathers the
// page's anchors and links.
int walkPreparedPage(TreeBuilder& trees, const std::string& pageName, int pageDepth,
                     const std::string& path, PreparedPage& page, PageFacts* check = nullptr);

// Both steps at once, on the text as loaded, for a run.
int analysePage(TreeBuilder& trees, const std::string& pageName, int pageDepth,
                const std::string& path, std::string text);

}  // namespace qv
