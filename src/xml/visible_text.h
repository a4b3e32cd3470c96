#pragma once
#include <string>
#include <string_view>

namespace qv {

// The text a reader sees of an HTML page (UTF-8, up to its first NUL), as a
// browser parses it: the text of the body, references decoded; tags,
// comments, the head (title included), and the content of script, style and
// template left out. An element that is not inline (a paragraph, a cell, a
// line break, an image) stands as a line feed, so that the words on either
// side of it stay apart, where an inline one (<b>é</b>quipe) joins them.
// Keeps no state between calls, and may run on any thread.
std::string visibleText(std::string_view html);

}  // namespace qv
