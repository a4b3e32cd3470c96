// The contents and index trees as nested HTML lists, for template pages.

#include "output/html_lists.h"

#include "text/encoders.h"

namespace qv {

namespace {

// Children are indented one tab deeper when the indentation is made of tabs,
// two spaces deeper otherwise.
std::size_t growIndent(std::string& indent) {
    std::size_t previous = indent.size();
    if (!indent.empty() && indent[0] == '\t') {
        indent.push_back('\t');
    } else {
        indent.append("  ");
    }
    return previous;
}

TextStream& writeTarget(TextStream& out, std::string_view linkTarget) {
    if (linkTarget.empty()) return out;
    return out << " target=\"" << linkTarget << "\"";
}

void writeContentsEntry(const TopicNode& node, std::string_view linkTarget, std::string& indent,
                        TextStream& out) {
    if (!node.title.empty() || node.level > 0) {
        const bool page = node.anchor == kTopOfPageAnchor;
        if (page) out << '\n';
        out << '\n' << indent << "<li><a href=\"" << node.file;
        if (!page && !node.anchor.empty()) out << '#' << node.anchor;
        out << "\"";
        if (page) out << " class=\"page\"";
        writeTarget(out, linkTarget) << ">";
        if (node.title.empty()) {
            out << "<b style=\"color:red\">[titre manquant]</b>";
        } else {
            out.encoded(appendUtf8Html, node.title);
        }
        out << "</a>";
    }
    if (!node.children.empty()) {
        out << "<ul>";
        std::size_t previous = growIndent(indent);
        for (const auto& child : node.children) writeContentsEntry(*child, linkTarget, indent, out);
        indent.resize(previous);
        out << "</ul>";
    }
    if (!node.anchor.empty()) out << "</li>";
}

void writeIndexEntry(const TopicNode& node, std::string_view linkTarget, std::string& indent,
                     TextStream& out) {
    if (!node.title.empty()) {
        out << '\n' << indent << "<li>";
        if (!node.file.empty()) {
            out << "<a href=\"" << node.file << (node.anchor.empty() ? "" : "#") << node.anchor
                << "\"";
            writeTarget(out, linkTarget) << ">";
            out.encoded(appendUtf8Html, node.title) << "</a>";
        } else {
            out << "<span class=\"nolink\">";
            out.encoded(appendUtf8Html, node.title) << "</span>";
        }
    }
    if (!node.children.empty()) {
        out << "<ul>";
        std::size_t previous = growIndent(indent);
        for (const auto& child : node.children) writeIndexEntry(*child, linkTarget, indent, out);
        indent.resize(previous);
        out << "</ul>";
    }
    if (!node.title.empty()) out << "</li>";
}

}  // namespace

void writeContentsHtml(const TopicNode& root, std::string_view linkTarget,
                       const std::string& indent, TextStream& out) {
    std::string running = indent;
    writeContentsEntry(root, linkTarget, running, out);
}

void writeIndexHtml(const TopicNode& root, std::string_view linkTarget, const std::string& indent,
                    TextStream& out) {
    std::string running = indent;
    writeIndexEntry(root, linkTarget, running, out);
}

}  // namespace qv
