#pragma once
#include <vector>

#include "chm/chm_file.h"
#include "chm/topic_numbers.h"
#include "model/topic_node.h"

namespace qv {
// The binary index of the keywords, in the order of the (already sorted) index tree.
std::vector<ChmFile> buildKeywordLinks(const TopicNode& indexRoot, TopicNumbers& topics);
}  // namespace qv
