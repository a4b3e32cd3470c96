#pragma once
#include <string>
#include <vector>

namespace qv {

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
