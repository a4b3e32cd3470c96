#pragma once
#include <string>
#include <vector>

#include "io/file_reader.h"
#include "model/help_project.h"
#include "text/c_defines.h"

namespace qv {

// One header that the list names for the contexts' numbers, as read.
struct ContextHeader {
    std::string name;  // as the list names it
    std::string path;  // the list's directory + name
    int status = 0;    // of loading it: 0, a system error code or kStatusEmptyFile
    std::vector<CDefine> defines;
};

// Loads and reads one header of the list (project.contexts.headers).
ContextHeader readContextHeader(const HelpProject& project, const FileReader& reader,
                                const std::string& name);

// Gives project's contexts the numbers the headers define: the first
// definition of each name.
void takeContextNumbers(const std::vector<ContextHeader>& headers, ContextMap& contexts);

}  // namespace qv
