#pragma once
#include <string>

#include "io/file_reader.h"
#include "text/input_encoding.h"

namespace qv {

// Reads a whole file and removes the CR of every CR LF pair, in one pass.
// text is emptied first. Returns 0, a system error code, or
// kStatusEmptyFile. Consumers read the text up to its first NUL byte.
int loadTextFile(const FileReader& reader, const std::string& path, std::string& text);

// Loads a list file or a page: as loadTextFile, with the bytes made UTF-8
// (decodeInputText) before the line ends are folded; decoding tells how
// the bytes were read.
int loadMarkupFile(const FileReader& reader, const std::string& path, std::string& text,
                   InputDecoding& decoding);

// Removes the CR of every CR LF pair: CR CR LF becomes CR LF.
void foldLineEnds(std::string& text);

}  // namespace qv
