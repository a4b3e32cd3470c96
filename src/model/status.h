#pragma once
// Statuses: 0 for success, otherwise a Windows system error code, either the
// one a failed file operation maps to or one the tool chooses itself.

namespace qv {

constexpr int kStatusOk = 0;
constexpr int kStatusFileNotFound = 2;
constexpr int kStatusPathNotFound = 3;
constexpr int kStatusAccessDenied = 5;
// A list file or page that does not parse, or is refused before parsing.
constexpr int kStatusInvalidData = 13;
// A file with nothing in it (the system's code for an empty medium).
constexpr int kStatusEmptyFile = 4306;
// A template that cannot be used.
constexpr int kStatusBadTemplate = 65535;
// The command line was not understood: the usage was printed.
constexpr int kStatusUsage = -1;

}  // namespace qv
