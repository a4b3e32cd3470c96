// The contents file (.hhc): the contents tree in sitemap form.

#include "output/contents_file.h"

#include "output/sitemap.h"
#include "text/encoders.h"

namespace qv {

namespace {

void writeEntry(const TopicNode& node, const std::string& url, TextStream& out,
                std::string& indent) {
    if (!node.title.empty() || node.level > 0) {
        out << indent << "<LI> <OBJECT type=\"text/sitemap\">\n";
        out << indent << "\t<param name=\"Name\" value=\"";
        if (node.title.empty()) {
            out << "[titre manquant]";
        } else {
            out.encoded(appendEntities, node.title);
        }
        out << "\">\n";
        out << indent << "\t<param name=\"Local\" value=\"" << url << node.file;
        writeFragment(out, node.anchor) << "\">\n";
        if (node.imageNumber >= 0) {
            out << indent << "\t<param name=\"ImageNumber\" value=\"" << node.imageNumber
                << "\">\n";
        }
        out << indent << "\t</OBJECT>\n";
    }
    writeSitemapChildren(node, indent, out,
                         [&](const TopicNode& child) { writeEntry(child, url, out, indent); });
}

}  // namespace

void writeContentsSitemap(const TopicNode& root, const std::string& listDirectoryUrl,
                          TextStream& out) {
    std::string indent;
    writeEntry(root, listDirectoryUrl, out, indent);
}

int writeContentsFile(const HelpProject& project, const std::string& baseName) {
    return writeSitemapFile(baseName + ".hhc", project.contentsRoot, project.listDirectoryUrl,
                            writeContentsSitemap);
}

}  // namespace qv
