#pragma once
#include <string_view>

#include "io/text_stream.h"
#include "model/context_map.h"

namespace qv {

// The target that makes a template's point a context map rather than a tree:
// <!-- <template target="contexte" /> -->.
constexpr std::string_view kContextMapTarget = "contexte";

// Writes the contexts as a JavaScript object literal for a template page's
// script: each context's name, then its number when a header defines one,
// maps to its link, the page as the HTML lists write it (as the list names
// it), then "#" and the anchor when the mark has one. Keys come in the order
// the pages mark the contexts; a key already written (a name marked twice, a
// number that two names share) keeps its first link. Keys and links are
// JSON strings that cannot end the script (appendScriptString).
//
// Without contexts the literal is "{}". Otherwise each pair has a line of
// its own, one step deeper than the leading blanks of indent (the text
// before the point on its line): a tab deeper when those blanks start with a
// tab, two spaces otherwise, as in the HTML lists. The closing brace comes
// on a line of its own at those blanks. With indent "  var map = ":
//   {
//     "IDH_A": "pages/a.html#x",
//     "1001": "pages/a.html#x"
//   }
void writeContextLiteral(const ContextMap& contexts, std::string_view indent, TextStream& out);

}  // namespace qv
