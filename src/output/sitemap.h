#pragma once
#include <string>

#include "io/text_stream.h"
#include "model/topic_node.h"

namespace qv {

// The six lines that open a sitemap file (.hhc and .hhk).
void writeSitemapHeader(TextStream& out);

// The children of node as a nested list, one tab deeper than indent: "<UL>",
// each child written by writeChild (indent extended meanwhile), "</UL>".
template <typename WriteChild>
void writeSitemapChildren(const TopicNode& node, std::string& indent, TextStream& out,
                          WriteChild writeChild) {
    if (node.children.empty()) return;
    out << indent << "<UL>\n";
    indent.push_back('\t');
    for (const auto& child : node.children) writeChild(*child);
    indent.pop_back();
    out << indent << "</UL>\n";
}

// A sitemap file at path: the header, the tree below root as writeTree
// writes it, the end. Returns 0 or the status of writing the file.
int writeSitemapFile(const std::string& path, const TopicNode& root,
                     const std::string& listDirectoryUrl,
                     void (*writeTree)(const TopicNode&, const std::string&, TextStream&));

// Writes the fragment of a sitemap link: none for an empty anchor or for the
// top-of-page anchor, "#anchor" otherwise, in code page 1252 with the
// markup characters written as entities (appendAnchorCp1252).
TextStream& writeFragment(TextStream& out, const std::string& anchor);

// The "Local" value of a node's sitemap entry, as the writers above give it:
// listDirectoryUrl, the node's page, its fragment.
std::string sitemapLocal(const TopicNode& node, const std::string& listDirectoryUrl);

}  // namespace qv
