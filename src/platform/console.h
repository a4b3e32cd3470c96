#pragma once
#include <string_view>

namespace qv {

// Writes bytes to standard output unchanged (the tool's messages are code
// page 1252 text) and flushes. A failed write is ignored: nothing can be
// reported about it.
void writeConsole(std::string_view bytes);

// Whether the locale (LC_ALL, LC_CTYPE, LANG) uses UTF-8. The locale is read
// and then set back to "C", whose character classes the XML parser relies on.
bool localeUsesUtf8();

// Whether standard output is a terminal.
bool standardOutputIsTerminal();

// Sets standard output up for the run: a reader that goes away early (the
// tool's output piped into head) makes later writes fail, and so be
// ignored, instead of ending the process in the middle of the run.
void prepareConsole();

}  // namespace qv
