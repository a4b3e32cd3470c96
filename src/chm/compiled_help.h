#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "chm/collect_files.h"
#include "io/file_reader.h"
#include "model/help_project.h"

namespace qv {

struct CompiledHelpRequest {
    std::string baseName;       // of the .hhp, .hhc and .hhk, as the command line gives it
    std::string compiledPath;   // where the .chm goes, "/" separators
    std::int64_t unixTime = 0;  // the time the format records
    unsigned threads = 1;
};

// The compiled help of a project whose help files are written: its bytes,
// and what the collection of the referenced files could not take in.
// Returns 0, or the status of reading the contents or index file.
int buildCompiledHelp(const HelpProject& project, const FileReader& reader,
                      const CompiledHelpRequest& request, std::string& bytes,
                      std::vector<CollectionProblem>& problems);

}  // namespace qv
