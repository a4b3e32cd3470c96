// The contents and index trees as nested HTML lists, for template pages.

#include "driver/help_project.h"
#include "driver/text_stream.h"
#include "page/encoding.h"

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

TextStream& writeTarget(TextStream& out, const HelpProject& project) {
    if (project.linkTarget.empty()) return out;
    return out << " target=\"" << project.linkTarget << "\"";
}

}  // namespace

void TopicNode::writeContentsHtml(const HelpProject& project, TextStream& out,
                                  std::string& indent) const {
    if (!title.empty() || level > 0) {
        const bool page = anchor == "titre";
        if (page) out << '\n';
        out << '\n' << indent << "<li><a href=\"" << file;
        if (!page && !anchor.empty()) out << '#' << anchor;
        out << "\"";
        if (page) out << " class=\"page\"";
        writeTarget(out, project) << ">";
        if (title.empty()) {
            out << "<b style=\"color:red\">[titre manquant]</b>";
        } else {
            out.encoded(appendUtf8Html, title);
        }
        out << "</a>";
    }
    if (!children.empty()) {
        out << "<ul>";
        std::size_t previous = growIndent(indent);
        for (const auto& child : children) child->writeContentsHtml(project, out, indent);
        indent.resize(previous);
        out << "</ul>";
    }
    if (!anchor.empty()) out << "</li>";
}

void TopicNode::writeIndexHtml(const HelpProject& project, TextStream& out,
                               std::string& indent) const {
    if (!title.empty()) {
        out << '\n' << indent << "<li>";
        if (!file.empty()) {
            out << "<a href=\"" << file << (anchor.empty() ? "" : "#") << anchor << "\"";
            writeTarget(out, project) << ">";
            out.encoded(appendUtf8Html, title) << "</a>";
        } else {
            out << "<span class=\"nolink\">";
            out.encoded(appendUtf8Html, title) << "</span>";
        }
    }
    if (!children.empty()) {
        out << "<ul>";
        std::size_t previous = growIndent(indent);
        for (const auto& child : children) child->writeIndexHtml(project, out, indent);
        indent.resize(previous);
        out << "</ul>";
    }
    if (!title.empty()) out << "</li>";
}

}  // namespace qv
