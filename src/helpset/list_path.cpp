#include "helpset/list_path.h"

namespace qv {

ListPath splitListPath(const std::string& argument) {
    ListPath split;
    std::string path = argument;
    if (path.compare(0, 2, ".\\") == 0 || path.compare(0, 2, "./") == 0) path.erase(0, 2);
    std::size_t separator = path.find_last_of("\\/");
    if (separator != std::string::npos) {
        split.directory = path.substr(0, separator + 1);
        path.erase(0, separator + 1);
    }
    split.directoryUrl = split.directory;
    for (char& c : split.directoryUrl) {
        if (c == '\\') c = '/';
    }
    split.fileName = path;
    return split;
}

}  // namespace qv
