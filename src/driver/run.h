#pragma once
#include <string>
#include <vector>

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

// The most threads -j may ask for.
constexpr unsigned kMaxJobs = 256;

// A command line of a run or a check: the options before the list file
// ("-j N" or "-jN", "--check", "--chm", in any order), then the other
// arguments.
struct CommandLine {
    bool understood = true;  // false: an option without a valid value
    bool check = false;
    bool chm = false;   // a run also writes the compiled help
    unsigned jobs = 0;  // threads that read the pages; 0 when not given
    std::vector<std::string> arguments;
};
CommandLine parseCommandLine(int argc, const char* const* argv);

}  // namespace qv
