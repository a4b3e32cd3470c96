#include "model/topic_node.h"

namespace qv {

TopicNode& TopicNode::appendChild() {
    children.push_back(std::make_unique<TopicNode>());
    TopicNode& child = *children.back();
    child.level = level + 1;
    return child;
}

}  // namespace qv
