// The index file (.hhk): the sorted index tree in sitemap form.

#include "output/index_file.h"

#include "output/sitemap.h"
#include "text/encoders.h"

namespace qv {

namespace {

void writeEntry(const TopicNode& node, const std::string& url, TextStream& out,
                std::string& indent) {
    if (!node.title.empty()) {
        out << indent << "<LI> <OBJECT type=\"text/sitemap\">\n";
        out << indent << "\t<param name=\"Name\" value=\"";
        out.encoded(appendEntities, node.title) << "\">\n";
        if (!node.file.empty()) {
            out << indent << "\t<param name=\"Local\" value=\"" << url << node.file;
            writeFragment(out, node.anchor) << "\">\n";
        } else {
            out << indent << "\t<param name=\"See Also\" value=\"";
            out.encoded(appendEntities, node.title) << "\">\n";
        }
        out << indent << "\t</OBJECT>\n";
    }
    writeSitemapChildren(node, indent, out,
                         [&](const TopicNode& child) { writeEntry(child, url, out, indent); });
}

}  // namespace

void writeIndexSitemap(const TopicNode& root, const std::string& listDirectoryUrl,
                       TextStream& out) {
    std::string indent;
    writeEntry(root, listDirectoryUrl, out, indent);
}

int writeIndexFile(const HelpProject& project, const std::string& baseName) {
    return writeSitemapFile(baseName + ".hhk", project.indexRoot, project.listDirectoryUrl,
                            writeIndexSitemap);
}

}  // namespace qv
