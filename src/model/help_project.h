#pragma once
#include <string>
#include <vector>

#include "model/context_map.h"
#include "model/page_syntax.h"
#include "model/topic_node.h"

namespace qv {

// What a run learns from the list file and its pages, and what the writers
// read: plain data, filled by the list walk and the page analysis.
struct HelpProject {
    HelpProject() = default;
    HelpProject(const HelpProject&) = delete;
    HelpProject& operator=(const HelpProject&) = delete;

    std::vector<std::string> pages;  // as the list file names them, in list order
    std::vector<std::string> contentsTemplates;
    std::vector<std::string> indexTemplates;
    std::string defaultTopic;
    std::string title;  // UTF-8, as the list file gives it
    // The help's language as the project file names it (the name in UTF-8,
    // as the locale data gives it); the list file may choose another.
    unsigned languageId = 0x402;
    std::string languageName = "Bulgarian (Bulgaria)";
    // How the pages named after the list's "files" element are read.
    PageSyntax pageSyntax = PageSyntax::Xml;
    // Whether every page gets a contents entry of its own, also when its
    // first anchored heading is below h1 (the list's "pageentries").
    bool pageEntries = false;
    TopicNode contentsRoot;
    TopicNode indexRoot;
    Utf8Titles utf8Titles;  // of nodes of both trees
    ContextMap contexts;
    // The list file's directory as given, ending in a separator, or empty.
    std::string listDirectory;
    std::string listDirectoryUrl;  // the same with "/" separators
};

}  // namespace qv
