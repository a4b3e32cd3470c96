#pragma once
#include <string>
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

    // The first child of parent whose title is exactly title, or null. Kept
    // in a table so that a parent with many keywords is not scanned.
    TopicNode* findKeywordChild(const TopicNode& parent, const std::string& title) const;
    // Records a child just appended to an index node (the first of a title wins).
    void noteKeywordChild(const TopicNode& parent, TopicNode& child);

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
    struct ChildKey {
        const TopicNode* parent;
        std::string title;
        bool operator==(const ChildKey& other) const {
            return parent == other.parent && title == other.title;
        }
    };
    struct ChildKeyHash {
        std::size_t operator()(const ChildKey& key) const {
            return std::hash<std::string>()(key.title) ^
                   (std::hash<const void*>()(key.parent) * 0x9E3779B97F4A7C15ull);
        }
    };
    std::unordered_map<ChildKey, TopicNode*, ChildKeyHash> keywordChildren_;
};

}  // namespace qv
