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

// Decides once how the tool's own text is shown: converted to UTF-8 when
// standard output is a terminal whose locale uses UTF-8, as it is (code
// page 1252) otherwise, so that pipes and files keep their bytes.
void prepareMessages();

// Writes one message line (the pieces, then a line feed) to standard output
// and flushes it.
void printMessage(std::initializer_list<MessagePiece> pieces);
void printMessage(const std::vector<MessagePiece>& pieces);

// Writes the system's message text for status as one line.
void printStatusMessage(int status);

// While one exists, the message lines printed on its thread are kept here
// (without their line feed, every piece as its bytes), or dropped, instead
// of being written: for code whose messages a check reports otherwise. The
// latest one made is the one that receives them.
class MessageCapture {
public:
    enum class Keep { Lines, Nothing };
    explicit MessageCapture(Keep keep = Keep::Lines);
    ~MessageCapture();
    MessageCapture(const MessageCapture&) = delete;
    MessageCapture& operator=(const MessageCapture&) = delete;

    const std::vector<std::string>& lines() const { return lines_; }

private:
    template <typename Pieces>
    friend void printLine(const Pieces& pieces);
    Keep keep_;
    MessageCapture* outer_;
    std::vector<std::string> lines_;
};

}  // namespace qv
