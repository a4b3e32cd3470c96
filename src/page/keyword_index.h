#pragma once
#include <cstddef>
#include <string_view>
#include <unordered_map>

#include "model/topic_node.h"

namespace qv {

// Finds the groups of the index tree by title as keywords are added, so that
// keywords with the same "Group|" path share one group node.
class KeywordIndex {
public:
    explicit KeywordIndex(TopicNode& root) : root_(root) {}

    TopicNode& root() { return root_; }

    // The first child of parent whose title is exactly title, or null. A
    // node with few children is scanned; one with many gets a table of its
    // children by title, brought up to date with the children appended since
    // the last lookup. So children may only be appended, and keep their
    // titles, while lookups go on (the index tree is sorted only afterwards).
    TopicNode* findChild(const TopicNode& parent, std::string_view title);

private:
    struct ChildTable {
        std::size_t indexed = 0;  // the children already in byTitle
        std::unordered_map<std::string_view, TopicNode*> byTitle;
    };
    TopicNode& root_;
    std::unordered_map<const TopicNode*, ChildTable> tables_;
};

}  // namespace qv
