#include "output/index_sort.h"

#include <algorithm>
#include <numeric>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/collation.h"
#include "text/cp1252.h"

namespace qv {

namespace {

// The collation key of a code page 1252 title. units is scratch room reused
// from title to title.
std::string sortKeyOf(const KeywordCollator& collator, const std::string& title,
                      std::u16string& units) {
    units.resize(title.size());
    for (std::size_t i = 0; i < title.size(); ++i) {
        units[i] = static_cast<char16_t>(codePointFromCp1252(static_cast<unsigned char>(title[i])));
    }
    return collator.sortKey(units, title);
}

// Sorts one level by keyword order. Equal keywords keep their document
// order, so that repeated runs give the same file. A keyword found on many
// pages is one title many times over: its sort key is made once.
void sortLevel(std::vector<std::unique_ptr<TopicNode>>& children, const KeywordCollator& collator,
               std::u16string& units) {
    if (children.size() < 2) return;
    // Small levels are not worth a table of their titles.
    constexpr std::size_t kShared = 32;
    std::vector<std::string> keys;  // one per distinct title
    std::vector<std::size_t> keyOf(children.size());
    std::unordered_map<std::string_view, std::size_t> keyOfTitle;
    if (children.size() >= kShared) keyOfTitle.reserve(children.size());
    for (std::size_t i = 0; i < children.size(); ++i) {
        const std::string& title = children[i]->title;
        if (children.size() >= kShared) {
            auto [entry, added] = keyOfTitle.emplace(title, keys.size());
            keyOf[i] = entry->second;
            if (!added) continue;
        } else {
            keyOf[i] = keys.size();
        }
        keys.push_back(sortKeyOf(collator, title, units));
    }
    std::vector<std::size_t> order(children.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return keyOf[a] != keyOf[b] && keys[keyOf[a]] < keys[keyOf[b]];
    });
    std::vector<std::unique_ptr<TopicNode>> sorted;
    sorted.reserve(children.size());
    for (std::size_t index : order) sorted.push_back(std::move(children[index]));
    children.swap(sorted);
}

void sortBelow(TopicNode& node, const KeywordCollator& collator, std::u16string& units) {
    sortLevel(node.children, collator, units);
    for (auto& child : node.children) sortBelow(*child, collator, units);
}

}  // namespace

void sortIndex(TopicNode& root) {
    const KeywordCollator collator;
    std::u16string units;
    sortBelow(root, collator, units);
}

}  // namespace qv
