#pragma once
#include "model/finding.h"
#include "text/input_encoding.h"
#include "text/text_cut.h"

namespace qv {

// What a check says of a list file or page read through another encoding
// than UTF-8; empty for UTF-8.
FindingText describeDecoding(const InputDecoding& decoding);

// What a check says of a text that its readers stop short of (the words of
// a warning); within is how a parse error that the cut explains goes on.
FindingText describeCut(TextCut::Kind kind);
FindingText describeCutWithin(TextCut::Kind kind, TextPosition nul);

}  // namespace qv
