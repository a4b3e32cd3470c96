#pragma once

namespace qv {

// The usage of a run, printed for wrong arguments and with --help.
void printUsage();
// The options, after the usage with --help.
void printOptions();
// The usage of "quorvane --check" given without its list file.
void printCheckUsage();

}  // namespace qv
