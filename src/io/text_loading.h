#pragma once
#include <functional>
#include <string>

#include "io/file_reader.h"
#include "text/input_encoding.h"

namespace qv {

// Reads a whole file and removes the CR of every CR LF pair, in one pass.
// text is emptied first. Returns 0, a system error code, or
// kStatusEmptyFile. Consumers read the text up to its first NUL byte.
int loadTextFile(const FileReader& reader, const std::string& path, std::string& text);

// Loads a list file or a page: as loadTextFile, with the bytes made UTF-8
// (decodeInputText) before the line ends are folded. decoding, when given,
// receives how the bytes were read.
int loadMarkupFile(const FileReader& reader, const std::string& path, std::string& text,
                   InputDecoding* decoding = nullptr);

// Removes the CR of every CR LF pair: CR CR LF becomes CR LF.
void foldLineEnds(std::string& text);

// What is done with a loaded file: given the path it was loaded under and
// its text, which it may change; returns a status.
using FileProcessor = std::function<int(const std::string& path, std::string& text)>;

// The line that announces a file before it is loaded: "Traitement du fichier".
void announceFile(const std::string& path);

// Announces the file, loads it with loadMarkupFile
// and hands its text to processor. Returns the loader's status when loading fails, the
// processor's otherwise.
int processFile(const FileReader& reader, const std::string& path, const FileProcessor& processor,
                InputDecoding* decoding = nullptr);

}  // namespace qv
