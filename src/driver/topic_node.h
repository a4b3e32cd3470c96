#pragma once
#include <memory>
#include <string>
#include <vector>

namespace qv {

class HelpProject;
class TextStream;

// One entry of the contents tree or of the index tree. Children are held
// through owning pointers so that a node never moves once created: every
// parent link stays valid however the tree grows or a level is sorted.
class TopicNode {
public:
    TopicNode() = default;
    TopicNode(const TopicNode& other);  // deep copy; parent copied as it is
    TopicNode& operator=(const TopicNode& other);
    TopicNode(TopicNode&&) = default;
    TopicNode& operator=(TopicNode&&) = default;

    // A new last child: empty strings, no image, one level deeper, no parent
    // link (the contents builder sets it; the index builder does not).
    TopicNode& appendChild();

    void exchange(TopicNode& other) noexcept;

    // Writers of the contents, the HTML lists and the index sitemap; the
    // indentation is extended for children and restored afterwards.
    void writeContentsSitemap(const HelpProject& project, TextStream& out,
                              std::string& indent) const;
    void writeContentsHtml(const HelpProject& project, TextStream& out, std::string& indent) const;
    void writeIndexHtml(const HelpProject& project, TextStream& out, std::string& indent) const;
    // Sorts every level below this node into keyword order while writing.
    void writeIndexSitemap(const HelpProject& project, TextStream& out, std::string& indent,
                           const class KeywordCollator& collator);

    std::vector<std::unique_ptr<TopicNode>> children;
    std::string file;
    std::string anchor;
    std::string title;
    int imageNumber = -1;
    int level = 0;
    TopicNode* parent = nullptr;
};

}  // namespace qv
