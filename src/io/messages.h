#pragma once
#include <initializer_list>
#include <string>
#include <string_view>

namespace qv {

// Writes one message line (the fragments, then a line feed) to standard
// output and flushes it.
void printMessage(std::initializer_list<std::string_view> fragments);

// Writes the system's message text for status as one line.
void printStatusMessage(int status);

}  // namespace qv
