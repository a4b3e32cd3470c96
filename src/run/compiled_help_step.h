#pragma once
#include <string>

#include "io/file_reader.h"
#include "model/help_project.h"

namespace qv {

// The last phase of a run with --chm: the compiled help, built from the
// project and the files just written, written atomically at compiledFile
// (as the project file names it: "\" read as a separator). Files the
// collection could not take in are reported one line each. Returns 0 or the
// status of reading or writing a file.
int writeCompiledHelp(const HelpProject& project, const FileReader& reader,
                      const std::string& listFile, const std::string& baseName,
                      const std::string& compiledFile, unsigned jobs);

}  // namespace qv
