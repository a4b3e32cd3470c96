#pragma once
#include <string>
#include <string_view>

#include "io/messages.h"

namespace qv {

// The two forms of the report: the list file's is worded in lower case, a
// page's capitalised with a final full stop.
enum class ParseErrorSource { ListFile, Page };

// Reports a document that does not parse, or that a walk refused, on three
// message lines: the file, where (row and column from 1), and the
// description (the tool's own text, with any bytes from the document
// marked Verbatim).
void printParseError(ParseErrorSource source, std::string_view path, int row, int column,
                     std::initializer_list<MessagePiece> description);

// The line that follows a page's report when a diagnostic copy is written.
void printDiagnosticCopyNote(std::string_view copyPath);

}  // namespace qv
