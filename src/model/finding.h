#pragma once
#include <string>

namespace qv {

enum class Severity { Warning, Error };

// One thing a check found, where the author can change it: the file as the
// run names it (list directory + name), the line and the column (both from
// 1, columns in characters) in that file as it was loaded, or line 0 when
// the finding concerns the whole file.
struct Finding {
    std::string path;
    int line = 0;
    int column = 0;
    Severity severity = Severity::Warning;
    std::string message;  // code page 1252
};

// Where the code that reads a help set reports its findings when a check
// asks it to, instead of printing them.
class FindingSink {
public:
    virtual ~FindingSink() = default;
    virtual void report(Finding finding) = 0;
};

}  // namespace qv
