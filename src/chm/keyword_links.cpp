// TEMPORARY: an empty binary index until the keyword-index branch (kwi) is
// merged; that branch replaces this file.
#include "chm/keyword_links.h"

namespace qv {

std::vector<ChmFile> buildKeywordLinks(const TopicNode&, TopicNumbers&) { return {}; }

}  // namespace qv
