#pragma once
#include <cstdio>
#include <functional>
#include <string_view>

namespace qv {

// Runs print with a C stream whose bytes are handed to sink in pieces as the
// C library's buffer fills, for code that only writes to a FILE*.
void printThroughSink(const std::function<void(std::FILE*)>& print,
                      const std::function<void(std::string_view)>& sink);

}  // namespace qv
