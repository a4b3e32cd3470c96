#pragma once
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "driver/topic_node.h"

namespace qv {

class HelpProject;

// A file processor receives the path a file was loaded under and its loaded
// text, which it may change, and returns a status.
using FileProcessor = int (HelpProject::*)(const std::string& path, std::string& text);

// The parts of a template around its substitution point.
struct TemplateParts {
    std::string before;
    std::string indent;
    std::string after;
    std::string outputPath;
};

// The whole state of one run.
class HelpProject {
public:
    HelpProject() = default;
    HelpProject(const HelpProject&) = delete;
    HelpProject& operator=(const HelpProject&) = delete;

    int processFile(const std::string& path, FileProcessor processor);
    int readListFile(const std::string& path, std::string& text);
    int analysePage(const std::string& pagePath, std::string& pageText);
    int writeProjectFile(const std::string& baseName, const std::string& compiledFile);
    int writeContentsFile(const std::string& baseName);
    int writeIndexFile(const std::string& baseName);
    int prepareTemplate(const std::string& templatePath, TemplateParts& parts);
    int expandContentsTemplate(const std::string& templatePath);
    int expandIndexTemplate(const std::string& templatePath);

    // The first child of an index node whose title is exactly title, or null.
    // A node with few children is scanned; one with many gets a table of its
    // children by title, brought up to date with the children appended since
    // the last lookup. So children may only be appended, and keep their
    // titles, while lookups go on (the index tree is sorted only afterwards).
    TopicNode* findKeywordChild(const TopicNode& parent, std::string_view title);

    std::vector<std::string> pages;
    std::vector<std::string> contentsTemplates;
    std::vector<std::string> indexTemplates;
    std::string defaultTopic;
    std::string title;
    TopicNode contentsRoot;
    TopicNode indexRoot;
    TopicNode* currentNode = &contentsRoot;
    int pageDepth = 0;
    std::string linkTarget;
    std::string listDirectory;
    std::string listDirectoryUrl;

private:
    struct ChildTable {
        std::size_t indexed = 0;  // the children already in byTitle
        std::unordered_map<std::string_view, TopicNode*> byTitle;
    };
    std::unordered_map<const TopicNode*, ChildTable> keywordChildren_;
};

}  // namespace qv
