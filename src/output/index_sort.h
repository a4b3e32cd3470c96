#pragma once
#include "model/topic_node.h"

namespace qv {

// Sorts every level of the index tree below root into keyword order: French
// linguistic order, case ignored, accents significant (byte order when the
// collation service cannot be opened). Equal keywords keep their document
// order. Done once, before any writer runs.
void sortIndex(TopicNode& root);

}  // namespace qv
