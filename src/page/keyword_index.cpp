#include "page/keyword_index.h"

namespace qv {

TopicNode* KeywordIndex::findChild(const TopicNode& parent, std::string_view title) {
    // Below this many children a scan costs less than keeping a table.
    constexpr std::size_t kScanned = 8;
    const auto& children = parent.children;
    if (children.size() <= kScanned) {
        for (const auto& child : children) {
            if (child->title == title) return child.get();
        }
        return nullptr;
    }
    ChildTable& table = tables_[&parent];
    if (table.indexed == 0) table.byTitle.reserve(children.size() * 2);
    for (; table.indexed < children.size(); ++table.indexed) {
        TopicNode& child = *children[table.indexed];
        table.byTitle.emplace(child.title, &child);  // the first of a title stays
    }
    auto found = table.byTitle.find(title);
    return found == table.byTitle.end() ? nullptr : found->second;
}

}  // namespace qv
