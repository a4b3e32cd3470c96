#pragma once
#include <string_view>

namespace qv {

// Writes bytes to standard output unchanged (the tool's messages are code
// page 1252 text) and flushes. A failed write is ignored: nothing can be
// reported about it.
void writeConsole(std::string_view bytes);

}  // namespace qv
