#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qv {

// The anchor authors give the first heading of a page: a link to it is a
// link to the top of the page, so the writers leave its fragment out.
constexpr std::string_view kTopOfPageAnchor = "titre";

// One entry of the contents tree or of the index tree. Children are held
// through owning pointers so that a node never moves once created: every
// parent link stays valid however the tree grows or a level is sorted.
struct TopicNode {
    TopicNode() = default;
    TopicNode(const TopicNode&) = delete;
    TopicNode& operator=(const TopicNode&) = delete;

    // A new last child: empty strings, no image, one level deeper, no parent
    // link (the contents builder sets it; the index builder does not).
    TopicNode& appendChild();

    std::vector<std::unique_ptr<TopicNode>> children;
    std::string file;    // the page as the list file names it; empty for an index group
    std::string anchor;  // empty for the top of the page
    std::string title;   // code page 1252; may be empty; see Utf8Titles
    int imageNumber = -1;
    int level = 0;  // 0 for a root, one more than the parent otherwise
    TopicNode* parent = nullptr;
};

// The titles of the nodes whose title lost characters that code page 1252
// lacks (each became "?"), as the pages give them in UTF-8 (utf8AsShown).
// Every other title shows the same characters in both forms: keeping only
// these costs nothing on help sets that code page 1252 holds whole. Nodes
// never move, so they are found by address.
using Utf8Titles = std::unordered_map<const TopicNode*, std::string>;

}  // namespace qv
