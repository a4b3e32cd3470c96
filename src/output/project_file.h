#pragma once
#include <string>

#include "model/help_project.h"

namespace qv {

// The project file, baseName + ".hhp", from which the help compiler builds
// compiledFile. Returns 0 or the status of writing it.
int writeProjectFile(const HelpProject& project, const std::string& baseName,
                     const std::string& compiledFile);

}  // namespace qv
