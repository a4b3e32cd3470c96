// What the contents file and the index file share: the sitemap's header,
// its nested lists, its links' fragments, and the file around them.

#include "output/sitemap.h"

#include "text/encoders.h"

namespace qv {

void writeSitemapHeader(TextStream& out) {
    out << "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">\n"
           "<HTML>\n"
           "<HEAD>\n"
           "<meta name=\"GENERATOR\" content=\"Microsoft&reg; HTML Help Workshop 4.1\">\n"
           "<!-- Sitemap 1.0 -->\n"
           "</HEAD><BODY>\n";
}

namespace {

// A link to the top-of-page anchor is a link to the page itself.
bool needsFragment(const std::string& anchor) {
    return !anchor.empty() && anchor != kTopOfPageAnchor;
}

}  // namespace

TextStream& writeFragment(TextStream& out, const std::string& anchor) {
    if (!needsFragment(anchor)) return out;
    return out.encoded(appendAnchorCp1252, "#" + anchor);
}

std::string sitemapLocal(const TopicNode& node, const std::string& listDirectoryUrl) {
    std::string local = listDirectoryUrl + node.file;
    if (needsFragment(node.anchor)) local += '#' + node.anchor;
    return local;
}

int writeSitemapFile(const std::string& path, const TopicNode& root,
                     const std::string& listDirectoryUrl,
                     void (*writeTree)(const TopicNode&, const std::string&, TextStream&)) {
    FileTextStream out;
    if (int status = out.open(path)) return status;
    writeSitemapHeader(out);
    writeTree(root, listDirectoryUrl, out);
    out << "</BODY></HTML>\n";
    return out.close();
}

}  // namespace qv
