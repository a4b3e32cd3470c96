#pragma once
#include <string>

#include "io/text_stream.h"
#include "model/help_project.h"

namespace qv {

// The contents tree below root as the sitemap's nested lists; every link is
// listDirectoryUrl followed by the node's page and fragment.
void writeContentsSitemap(const TopicNode& root, const std::string& listDirectoryUrl,
                          TextStream& out);

// The contents file, baseName + ".hhc". Returns 0 or the status of writing it.
int writeContentsFile(const HelpProject& project, const std::string& baseName);

}  // namespace qv
