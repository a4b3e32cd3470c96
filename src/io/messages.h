#pragma once
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// Writes one message line (the fragments, then a line feed) to standard
// output and flushes it.
void printMessage(std::initializer_list<std::string_view> fragments);

// Writes the system's message text for status as one line.
void printStatusMessage(int status);

// While one exists, the message lines printed on its thread are kept here
// (without their line feed), or dropped, instead of being written: for code
// whose messages a check reports otherwise. The latest one made is the one
// that receives them.
class MessageCapture {
public:
    enum class Keep { Lines, Nothing };
    explicit MessageCapture(Keep keep = Keep::Lines);
    ~MessageCapture();
    MessageCapture(const MessageCapture&) = delete;
    MessageCapture& operator=(const MessageCapture&) = delete;

    const std::vector<std::string>& lines() const { return lines_; }

private:
    friend void printMessage(std::initializer_list<std::string_view> fragments);
    Keep keep_;
    MessageCapture* outer_;
    std::vector<std::string> lines_;
};

}  // namespace qv
