#pragma once
#include <string>

namespace qv {

// The whole program: usage or banner, then the phases of a run. Returns the
// run's status: 0, -1 for a wrong argument count, or the first failure.
int runQuorvane(int argc, const char* const* argv);

// The process exit status for a run's status: its low 8 bits, or 1 when a
// failure's low 8 bits are all zero.
int exitStatusFor(int status);

struct ListPath {
    std::string directory;     // up to and including the last separator, or empty
    std::string directoryUrl;  // the same with "/" separators
    std::string fileName;
};

// Splits the list file's path as given on the command line: one leading ".\"
// or "./" is dropped, and the directory ends at the last "\" or "/".
ListPath splitListPath(const std::string& argument);

}  // namespace qv
