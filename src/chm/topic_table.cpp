#include "chm/topic_table.h"

#include <algorithm>
#include <unordered_set>

#include "text/cp1252.h"
#include "text/links.h"

namespace qv {

std::string localOf(const TopicNode& node, const std::string& listDirectoryUrl) {
    std::string local = listDirectoryUrl + node.file;
    if (!node.anchor.empty() && node.anchor != kTopOfPageAnchor) local += "#" + node.anchor;
    return local;
}

namespace {

// A page's title: that of its first contents entry, which is the page's own
// heading when it has one.
const TopicNode* firstEntryOf(const TopicNode& node, const std::string& file) {
    if (node.level > 0 && node.file == file) return &node;
    for (const auto& child : node.children) {
        if (const TopicNode* found = firstEntryOf(*child, file)) return found;
    }
    return nullptr;
}

}  // namespace

TopicTable::TopicTable(const HelpProject& project) {
    for (const std::string& page : project.pages) {
        const TopicNode* entry = firstEntryOf(project.contentsRoot, page);
        topicOf(project.listDirectoryUrl + page, entry != nullptr ? entry->title : page);
    }
    addContents(project.contentsRoot, project.listDirectoryUrl);
}

void TopicTable::addContents(const TopicNode& node, const std::string& url) {
    if (node.level > 0 && !node.file.empty()) {
        topics_[topicOf(localOf(node, url), node.title)].inContents = true;
    }
    for (const auto& child : node.children) addContents(*child, url);
}

std::uint32_t TopicTable::topicOf(const std::string& local, const std::string& title) {
    auto [found, added] = numbers_.try_emplace(local, static_cast<std::uint32_t>(topics_.size()));
    if (added) topics_.push_back({local, title, false});
    return found->second;
}

std::vector<ContextTopic> contextTopics(const HelpProject& project) {
    std::vector<ContextTopic> result;
    std::unordered_set<std::string> names;
    std::unordered_set<std::uint32_t> numbers;
    for (const ContextMark& mark : project.contexts.marks) {
        if (!names.insert(mark.name).second) continue;
        const std::uint32_t* number = project.contexts.numberOf(mark.name);
        if (number == nullptr || !numbers.insert(*number).second) continue;
        std::string local = project.listDirectoryUrl + helpSetPath(mark.file);
        if (!mark.anchor.empty()) local += "#" + utf8ToCp1252(mark.anchor);
        result.push_back({*number, std::move(local)});
    }
    std::sort(result.begin(), result.end(),
              [](const ContextTopic& a, const ContextTopic& b) { return a.number < b.number; });
    return result;
}

}  // namespace qv
