#pragma once
#include <string>

namespace qv {

// The list file's path as the command line gives it, in the parts that a run
// and a check name pages and outputs from.
struct ListPath {
    std::string directory;     // up to and including the last separator, or empty
    std::string directoryUrl;  // the same with "/" separators
    std::string fileName;
};

// Splits the list file's path as given on the command line: one leading ".\"
// or "./" is dropped, and the directory ends at the last "\" or "/".
ListPath splitListPath(const std::string& argument);

}  // namespace qv
