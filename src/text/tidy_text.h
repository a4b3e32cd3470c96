#pragma once
#include <string>

namespace qv {

// Trims white space (0x00-0x20, 0xA0), ":" and "." from the end, white space
// from the start, turns line feeds and tabs into spaces and folds runs of
// spaces into one: what a title, a keyword or a system message keeps. Text
// made only of ":", "." and white space keeps its ":" and ".".
void tidyText(std::string& text);

// The same for UTF-8 text, where the no-break space is C2 A0: the UTF-8 form
// of a title is tidied character for character as its code page 1252 form.
void tidyUtf8Text(std::string& text);

}  // namespace qv
