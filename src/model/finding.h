#pragma once
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/text_position.h"

namespace qv {

enum class Severity { Warning, Error };

// Bytes of a finding that come from the input files or the command line (a
// name, a value, an element): shown as they are, never converted.
struct AuthorText {
    std::string_view bytes;
};

// One piece of a finding's text: the tool's own words (code page 1252), or
// the author's bytes.
struct FindingPiece {
    FindingPiece(const char* own) : text(own) {}
    FindingPiece(std::string own) : text(std::move(own)) {}
    FindingPiece(AuthorText author) : text(author.bytes), author(true) {}

    std::string text;
    bool author = false;
};

using FindingText = std::vector<FindingPiece>;

// One thing a check found, where the author can change it: the file as the
// run names it (list directory + name), and the place in that file as it
// was loaded (columns in characters), or {0, 0} when the finding concerns
// the whole file.
struct Finding {
    std::string path;
    TextPosition at;
    Severity severity = Severity::Warning;
    FindingText message;
};

// Where a check's parts report what they find.
class FindingSink {
public:
    virtual ~FindingSink() = default;
    virtual void report(Finding finding) = 0;
};

}  // namespace qv
