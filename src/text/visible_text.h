#pragma once
#include <string>
#include <string_view>

namespace qv {

struct PageText {
    std::string text;   // what the page shows
    std::string title;  // the text of its first <title>, references decoded
};

// The text a reader sees of an HTML page (UTF-8), for a full-text index:
// tags, comments, declarations and the content of script, style, title,
// template (and the other elements a browser does not render) left out,
// character references decoded. An element that is not inline (a
// paragraph, a cell, a line break, an image) stands as a line feed, so that
// the words on either side of it stay apart, where an inline one
// (<b>é</b>quipe) joins them.
//
// A scan of the page as HTML's tokenizer reads it, not a parse: about
// twenty times faster than a parser building the tree, and the words come
// out the same, since what the tree construction changes (implied and
// misnested elements) moves no text. A named reference outside the tool's
// entity table (&rarr;) is read as a word break: those are symbols.
PageText visibleText(std::string_view html);

}  // namespace qv
