#pragma once
#include <string>

#include "driver/run.h"
#include "io/file_reader.h"

namespace qv {

// "quorvane --check LIST": reads the list file and every page as a run
// reads them, through the same code, goes on past every failure, writes
// nothing, and prints every finding as "path:line:column: erreur: ..." or
// "avertissement: ..." (path: severity: ... for a whole file), then one
// summary line. argument is the list file as given; jobs as for a run. Returns
// 2 when there is an error, 1 when there are only warnings, 0 when nothing
// was found.
int runCheck(const ListPath& listPath, const std::string& argument, unsigned jobs);

// The same with the files reader serves.
int checkHelpSet(const FileReader& reader, const ListPath& listPath, const std::string& argument,
                 unsigned jobs = 1);

}  // namespace qv
