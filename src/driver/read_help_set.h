#pragma once
#include <string>

#include "io/file_reader.h"
#include "model/help_project.h"

namespace qv {

// The first phase of a run: announces and reads the list file
// (project.listDirectory + listFile) and analyses every page it names, in
// list order, the moment the walk meets it, into project's two trees.
// Returns 0 or the first failure.
int readHelpSet(HelpProject& project, const FileReader& reader, const std::string& listFile);

}  // namespace qv
