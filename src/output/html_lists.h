#pragma once
#include <string>
#include <string_view>

#include "io/text_stream.h"
#include "model/topic_node.h"

namespace qv {

// The contents tree below root as nested HTML lists for a template page.
// Each entry starts a new line with indent, one step deeper per level (a tab
// when indent is made of tabs, two spaces otherwise); links open in the
// frame linkTarget, unless it is empty. Titles are written with all their
// characters, from utf8Titles where code page 1252 lost some.
void writeContentsHtml(const TopicNode& root, const Utf8Titles& utf8Titles,
                       std::string_view linkTarget, const std::string& indent, TextStream& out);

// The index tree below root, in the order its levels are in, as nested HTML
// lists; groups without a page are shown as "nolink" spans.
void writeIndexHtml(const TopicNode& root, const Utf8Titles& utf8Titles,
                    std::string_view linkTarget, const std::string& indent, TextStream& out);

}  // namespace qv
