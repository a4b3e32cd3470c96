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

// Trims white space (0x00-0x20, 0xA0), ":" and "." from the end, white space
// from the start, turns line feeds and tabs into spaces and folds runs of
// spaces into one.
void tidyText(std::string& text);

}  // namespace qv
