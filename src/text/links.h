#pragma once
#include <string>
#include <string_view>

namespace qv {

// Where an href or src value of a page leads, for a check of the help set.
struct LinkTarget {
    // False for what is not a file of the help set: a value with a scheme
    // (http:, mailto:, javascript:, data:, ms-its: ...), an absolute path, an
    // empty value.
    bool local = false;
    // The file relative to the list file's directory, in the form of
    // helpSetPath; empty for the page itself ("#anchor", "?query").
    std::string file;
    std::string fragment;           // after "#", percent-decoded; empty when there is none
    std::string fragmentAsWritten;  // after "#", as the value gives it
    bool hasFragment = false;
};

// A file name as the list file gives it, as one key for the same file:
// "\" and "/" both separate, "." and empty parts are dropped, ".." removes
// the part before it (or stays, leading, when there is none).
std::string helpSetPath(std::string_view name);

// The target of value (an href or src, references already decoded) in the
// page the list file names pageName. The query is dropped; "%XX" escapes
// are decoded in the path and in the fragment (which is also kept as
// written: a browser looks for that first).
LinkTarget followLink(std::string_view pageName, std::string_view value);

}  // namespace qv
