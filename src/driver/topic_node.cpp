#include "driver/topic_node.h"

#include <utility>

namespace qv {

TopicNode::TopicNode(const TopicNode& other)
    : file(other.file),
      anchor(other.anchor),
      title(other.title),
      imageNumber(other.imageNumber),
      level(other.level),
      parent(other.parent) {
    children.reserve(other.children.size());
    for (const auto& child : other.children) {
        children.push_back(std::make_unique<TopicNode>(*child));
    }
}

TopicNode& TopicNode::operator=(const TopicNode& other) {
    if (this != &other) {
        TopicNode copy(other);
        exchange(copy);
    }
    return *this;
}

TopicNode& TopicNode::appendChild() {
    children.push_back(std::make_unique<TopicNode>());
    TopicNode& child = *children.back();
    child.level = level + 1;
    return child;
}

void TopicNode::exchange(TopicNode& other) noexcept {
    using std::swap;
    swap(children, other.children);
    swap(file, other.file);
    swap(anchor, other.anchor);
    swap(title, other.title);
    swap(imageNumber, other.imageNumber);
    swap(level, other.level);
    swap(parent, other.parent);
}

}  // namespace qv
