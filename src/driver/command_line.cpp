#include "driver/command_line.h"

#include <string_view>

namespace qv {

namespace {

// A -j value: a decimal number from 1 to kMaxJobs, digits only.
bool parseJobs(std::string_view text, unsigned& jobs) {
    if (text.empty() || text.size() > 3) return false;
    unsigned value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value < 1 || value > kMaxJobs) return false;
    jobs = value;
    return true;
}

}  // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    int i = 1;
    for (; i < argc && line.understood; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--check" && !line.check) {
            line.check = true;
        } else if (argument == "--chm" && !line.chm) {
            line.chm = true;
        } else if (argument == "-j") {
            line.understood = i + 1 < argc && parseJobs(argv[i + 1], line.jobs);
            ++i;
        } else if (argument.substr(0, 2) == "-j") {
            line.understood = parseJobs(argument.substr(2), line.jobs);
        } else {
            break;
        }
    }
    for (; i < argc; ++i) line.arguments.emplace_back(argv[i]);
    return line;
}

}  // namespace qv
