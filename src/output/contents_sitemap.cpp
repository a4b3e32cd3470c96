// The contents file (.hhc): the contents tree in sitemap form.

#include "driver/help_project.h"
#include "driver/text_stream.h"
#include "output/sitemap.h"
#include "page/encoding.h"

namespace qv {

void writeSitemapHeader(TextStream& out) {
    out << "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">\n"
           "<HTML>\n"
           "<HEAD>\n"
           "<meta name=\"GENERATOR\" content=\"Microsoft&reg; HTML Help Workshop 4.1\">\n"
           "<!-- Sitemap 1.0 -->\n"
           "</HEAD><BODY>\n";
}

TextStream& writeFragment(TextStream& out, const std::string& anchor) {
    if (anchor.empty() || anchor == "titre") return out;
    return out << '#' << anchor;
}

void TopicNode::writeContentsSitemap(const HelpProject& project, TextStream& out,
                                     std::string& indent) const {
    if (!title.empty() || level > 0) {
        out << indent << "<LI> <OBJECT type=\"text/sitemap\">\n";
        out << indent << "\t<param name=\"Name\" value=\"";
        if (title.empty()) {
            out << "[titre manquant]";
        } else {
            out.encoded(appendEntities, title);
        }
        out << "\">\n";
        out << indent << "\t<param name=\"Local\" value=\"" << project.listDirectoryUrl << file;
        writeFragment(out, anchor) << "\">\n";
        if (imageNumber >= 0) {
            out << indent << "\t<param name=\"ImageNumber\" value=\"" << imageNumber << "\">\n";
        }
        out << indent << "\t</OBJECT>\n";
    }
    if (children.empty()) return;
    out << indent << "<UL>\n";
    indent.push_back('\t');
    for (const auto& child : children) child->writeContentsSitemap(project, out, indent);
    indent.pop_back();
    out << indent << "</UL>\n";
}

int HelpProject::writeContentsFile(const std::string& baseName) {
    FileTextStream out;
    if (int status = out.open(baseName + ".hhc")) return status;
    writeSitemapHeader(out);
    std::string indent;
    contentsRoot.writeContentsSitemap(*this, out, indent);
    out << "</BODY></HTML>\n";
    return out.close();
}

}  // namespace qv
