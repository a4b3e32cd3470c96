#pragma once
#include <string>

#include "io/text_stream.h"
#include "model/help_project.h"

namespace qv {

// The index tree below root as the sitemap's nested lists, in the order its
// levels are in: a keyword links to listDirectoryUrl followed by its page
// and fragment, a group to itself ("See Also").
void writeIndexSitemap(const TopicNode& root, const std::string& listDirectoryUrl, TextStream& out);

// The index file, baseName + ".hhk", from the sorted index tree. Returns 0 or
// the status of writing it.
int writeIndexFile(const HelpProject& project, const std::string& baseName);

}  // namespace qv
