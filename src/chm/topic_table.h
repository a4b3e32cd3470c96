#pragma once
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "chm/topic_numbers.h"
#include "model/help_project.h"

namespace qv {

// The topics of the compiled help, numbered in the order they are first
// asked for: the pages of the project first (in list order), then the
// contents targets, then whatever the indexes ask for.
class TopicTable : public TopicNumbers {
public:
    struct Topic {
        std::string local;  // as the .hhc "Local" value gives it
        std::string title;  // code page 1252, may be empty
        bool inContents = false;
    };

    // Numbers the project's pages and the contents tree's targets.
    explicit TopicTable(const HelpProject& project);

    std::uint32_t topicOf(const std::string& local, const std::string& title) override;
    const std::vector<Topic>& topics() const { return topics_; }

private:
    void addContents(const TopicNode& node, const std::string& url);

    std::vector<Topic> topics_;
    std::unordered_map<std::string, std::uint32_t> numbers_;
};

// A context number and the topic a program opens for it: the page as the
// compiled help names its file, with the mark's anchor (code page 1252).
struct ContextTopic {
    std::uint32_t number = 0;
    std::string local;
};

// The numbered contexts of the project, by ascending number: the first mark
// of each name, and of each number when two names share one; a name that no
// header numbers is left out.
std::vector<ContextTopic> contextTopics(const HelpProject& project);

// The "Local" value of a node of either tree: the page relative to the
// project file, and the anchor unless it is the top of the page.
std::string localOf(const TopicNode& node, const std::string& listDirectoryUrl);

}  // namespace qv
