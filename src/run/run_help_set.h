#pragma once
#include <string>

#include "helpset/list_path.h"

namespace qv {

// A run of the help set the list file names: reads it and every page, writes
// the project, contents and index files (the compiled file named
// compiledFile), then the page of every template, then, with compile
// (--chm), the compiled help itself. jobs threads read the pages (see
// readHelpSet). Prints the system message of a failure; returns
// 0 or the first failure's status.
int runHelpSet(const ListPath& listPath, const std::string& baseName,
               const std::string& compiledFile, unsigned jobs, bool compile);

}  // namespace qv
