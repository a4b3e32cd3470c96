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

std::string targetAttribute(const HelpProject& project) {
    if (project.linkTarget.empty()) return std::string();
    return " target=\"" + project.linkTarget + "\"";
}

}  // namespace

void TopicNode::writeContentsHtml(const HelpProject& project, TextStream& out,
                                  std::string& indent) const {
    if (!title.empty() || level > 0) {
        std::string label = title.empty() ? "<b style=\"color:red\">[titre manquant]</b>"
                                          : encodeUtf8Html(title);
        std::string fragment;
        std::string extra;
        if (anchor == "titre") {
            extra = " class=\"page\"";
            out << '\n';
        } else if (!anchor.empty()) {
            fragment = "#" + anchor;
        }
        extra += targetAttribute(project);
        out << '\n' << indent << "<li><a href=\"" << file << fragment << "\"" << extra << ">"
            << label << "</a>";
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
        std::string label = encodeUtf8Html(title);
        out << '\n' << indent << "<li>";
        if (!file.empty()) {
            out << "<a href=\"" << file << (anchor.empty() ? "" : "#") << anchor << "\""
                << targetAttribute(project) << ">" << label << "</a>";
        } else {
            out << "<span class=\"nolink\">" << label << "</span>";
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
