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

// What every entry of one list is written with.
struct ListStyle {
    const Utf8Titles& utf8Titles;
    std::string_view linkTarget;
};

TextStream& writeTarget(TextStream& out, std::string_view linkTarget) {
    if (linkTarget.empty()) return out;
    return out << " target=\"" << linkTarget << "\"";
}

// A non-empty title with all its characters: its UTF-8 form when code page
// 1252 lost some of them (each became a "?").
TextStream& writeTitle(const TopicNode& node, const ListStyle& style, TextStream& out) {
    if (!style.utf8Titles.empty() && node.title.find('?') != std::string::npos) {
        const auto found = style.utf8Titles.find(&node);
        if (found != style.utf8Titles.end()) return out.encoded(appendHtml, found->second);
    }
    return out.encoded(appendUtf8Html, node.title);
}

void writeContentsEntry(const TopicNode& node, const ListStyle& style, std::string& indent,
                        TextStream& out) {
    if (!node.title.empty() || node.level > 0) {
        const bool page = node.anchor == kTopOfPageAnchor;
        if (page) out << '\n';
        out << '\n' << indent << "<li><a href=\"" << node.file;
        if (!page && !node.anchor.empty()) out.encoded(appendAnchorHtml, "#" + node.anchor);
        out << "\"";
        if (page) out << " class=\"page\"";
        writeTarget(out, style.linkTarget) << ">";
        if (node.title.empty()) {
            out << "<b style=\"color:red\">[titre manquant]</b>";
        } else {
            writeTitle(node, style, out);
        }
        out << "</a>";
    }
    if (!node.children.empty()) {
        out << "<ul>";
        std::size_t previous = growIndent(indent);
        for (const auto& child : node.children) writeContentsEntry(*child, style, indent, out);
        indent.resize(previous);
        out << "</ul>";
    }
    if (!node.anchor.empty()) out << "</li>";
}

void writeIndexEntry(const TopicNode& node, const ListStyle& style, std::string& indent,
                     TextStream& out) {
    if (!node.title.empty()) {
        out << '\n' << indent << "<li>";
        if (!node.file.empty()) {
            out << "<a href=\"" << node.file;
            if (!node.anchor.empty()) out.encoded(appendAnchorHtml, "#" + node.anchor);
            out << "\"";
            writeTarget(out, style.linkTarget) << ">";
            writeTitle(node, style, out) << "</a>";
        } else {
            out << "<span class=\"nolink\">";
            writeTitle(node, style, out) << "</span>";
        }
    }
    if (!node.children.empty()) {
        out << "<ul>";
        std::size_t previous = growIndent(indent);
        for (const auto& child : node.children) writeIndexEntry(*child, style, indent, out);
        indent.resize(previous);
        out << "</ul>";
    }
    if (!node.title.empty()) out << "</li>";
}

}  // namespace

void writeContentsHtml(const TopicNode& root, const Utf8Titles& utf8Titles,
                       std::string_view linkTarget, const std::string& indent, TextStream& out) {
    std::string running = indent;
    writeContentsEntry(root, {utf8Titles, linkTarget}, running, out);
}

void writeIndexHtml(const TopicNode& root, const Utf8Titles& utf8Titles,
                    std::string_view linkTarget, const std::string& indent, TextStream& out) {
    std::string running = indent;
    writeIndexEntry(root, {utf8Titles, linkTarget}, running, out);
}

}  // namespace qv
