#pragma once
#include <string>

#include "driver/run.h"
#include "text/input_encoding.h"

namespace qv {

// "quorvane --check LIST": reads the list file and every page as a run
// reads them, through the same code, goes on past every failure, writes
// nothing, and prints every finding as "path:line:column: erreur: ..." or
// "avertissement: ..." (path: severity: ... for a whole file), then one
// summary line. argument is the list file as given. Returns 2 when there is
// an error, 1 when there are only warnings, 0 when nothing was found.
int runCheck(const ListPath& listPath, const std::string& argument);

// The warning for a file that was not UTF-8 and was read through another
// encoding; empty for UTF-8.
std::string inputDecodingMessage(const InputDecoding& decoding);

}  // namespace qv
