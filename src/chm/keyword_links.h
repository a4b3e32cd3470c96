#pragma once
#include <vector>

#include "chm/chm_file.h"
#include "chm/topic_numbers.h"
#include "model/help_project.h"

namespace qv {

// The binary index of the keywords: $WWKeywordLinks/BTree, /Data, /Map and
// /Property, and the $WWAssociativeLinks/Property stub. The keywords are in
// the order of the (already sorted) index tree project.indexRoot, the order
// of the .hhk; the viewer lists them so and searches them as the user types.
// Each keyword's page and fragment (the .hhk's "Local") gets its topic number
// from topics, with the keyword as its title.
std::vector<ChmFile> buildKeywordLinks(const HelpProject& project, TopicNumbers& topics);

}  // namespace qv
