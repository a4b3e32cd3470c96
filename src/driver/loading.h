#pragma once
#include <string>

namespace qv {

// Status codes the tool chooses itself; every other status is the system's.
constexpr int kStatusEmptyFile = 4306;
constexpr int kStatusInvalidData = 13;
constexpr int kStatusBadTemplate = 65535;

// Reads a whole file and removes the CR of every CR LF pair, in one pass.
// text is emptied first. Returns 0, a system error code, or 4306 for an
// empty file. Consumers read the text up to its first NUL byte.
int loadTextFile(const std::string& path, std::string& text);

// Removes the CR of every CR LF pair: CR CR LF becomes CR LF.
void foldLineEnds(std::string& text);

}  // namespace qv
