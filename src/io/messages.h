#pragma once
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// Bytes that come from outside the tool (a path, a value read from a file):
// written as they are, whatever the console shows.
struct Verbatim {
    std::string_view bytes;
};

// One fragment of a message line: the tool's own text (code page 1252), or
// verbatim bytes.
struct MessagePiece {
    MessagePiece(const char* own) : text(own), own(true) {}
    MessagePiece(std::string_view own) : text(own), own(true) {}
    MessagePiece(const std::string& own) : text(own), own(true) {}
    MessagePiece(Verbatim bytes) : text(bytes.bytes), own(false) {}

    std::string_view text;
    bool own;
};

// When the tool's own text is shown as UTF-8 rather than as it is (code page
// 1252): a run's messages only on a terminal whose locale uses UTF-8, so
// that its pipes and files keep the bytes they always had; a check's
// whenever the locale uses UTF-8, for the editors and logs that read it
// through a pipe.
enum class Utf8Messages { OnUtf8Terminal, InUtf8Locale };

// Decides once, by rule, how the tool's own text is shown.
void prepareMessages(Utf8Messages rule);

// Writes one message line (the pieces, then a line feed) to standard output
// and flushes it.
void printMessage(std::initializer_list<MessagePiece> pieces);
void printMessage(const std::vector<MessagePiece>& pieces);

// Writes the system's message text for status as one line.
void printStatusMessage(int status);

}  // namespace qv
