#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "page/keyword_index.h"

namespace qv {
namespace {

TopicNode* firstChildTitled(const TopicNode& parent, const std::string& title) {
    for (const auto& child : parent.children) {
        if (child->title == title) return child.get();
    }
    return nullptr;
}

// Children appended between lookups, under parents small enough to be
// scanned and large enough to get a table, with repeated titles: every
// lookup finds the first child of its title in document order.
TEST(KeywordIndex, FirstOfATitleWhileChildrenAreAppended) {
    struct Case {
        const char* what;
        int children;
        int titles;  // distinct titles among them, so each repeats
    };
    const Case cases[] = {
        {"empty", 0, 1},    {"scanned", 8, 3},          {"just past the scan", 9, 4},
        {"table", 200, 50}, {"all distinct", 300, 300}, {"one title", 100, 1},
    };
    for (const Case& c : cases) {
        TopicNode root;
        KeywordIndex keywords(root);
        TopicNode& parent = root.appendChild();
        TopicNode& other = root.appendChild();
        for (int i = 0; i < c.children; ++i) {
            parent.appendChild().title = "k" + std::to_string((i * 7) % c.titles);
            other.appendChild().title = "k" + std::to_string(i % c.titles);
            // Lookups interleaved with the appends, including absent titles.
            for (const std::string& title : {"k" + std::to_string(i % c.titles), std::string("k"),
                                             "k" + std::to_string(c.titles)}) {
                ASSERT_EQ(keywords.findChild(parent, title), firstChildTitled(parent, title))
                    << c.what << ", after " << i + 1 << " children, title " << title;
                ASSERT_EQ(keywords.findChild(other, title), firstChildTitled(other, title))
                    << c.what << " (other parent), title " << title;
            }
        }
        EXPECT_EQ(keywords.findChild(parent, ""), nullptr) << c.what;
    }
}

}  // namespace
}  // namespace qv
