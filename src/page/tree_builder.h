#pragma once
#include "model/help_project.h"
#include "page/keyword_index.h"

namespace qv {

// What the analysis of one page hands on to the next: the node of the last
// heading, from which the next page's headings continue the contents (so a
// page listed inside another nests below that page's headings), and the
// lookup of the index's groups.
struct TreeBuilder {
    explicit TreeBuilder(HelpProject& project)
        : contentsRoot(project.contentsRoot),
          currentNode(&project.contentsRoot),
          keywords(project.indexRoot),
          utf8Titles(project.utf8Titles),
          contexts(project.contexts.marks) {}

    TopicNode& contentsRoot;
    TopicNode* currentNode;
    KeywordIndex keywords;
    Utf8Titles& utf8Titles;
    std::vector<ContextMark>& contexts;
    // Every page gets a contents entry of its own (HelpProject::pageEntries).
    bool pageEntries = false;
};

}  // namespace qv
