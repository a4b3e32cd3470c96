// The index file (.hhk): every level of the index tree sorted into keyword
// order, then written in sitemap form.

#include <algorithm>
#include <numeric>

#include "driver/help_project.h"
#include "driver/text_stream.h"
#include "output/sitemap.h"
#include "page/encoding.h"
#include "platform/collation.h"

namespace qv {

namespace {

// Sorts one level by keyword order. Equal keywords keep their document
// order, so that repeated runs give the same file.
void sortLevel(std::vector<std::unique_ptr<TopicNode>>& children,
               const KeywordCollator& collator) {
    if (children.size() < 2) return;
    std::vector<std::string> keys;
    keys.reserve(children.size());
    for (const auto& child : children) keys.push_back(collator.sortKey(child->title));
    std::vector<std::size_t> order(children.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&keys](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    std::vector<std::unique_ptr<TopicNode>> sorted;
    sorted.reserve(children.size());
    for (std::size_t index : order) sorted.push_back(std::move(children[index]));
    children.swap(sorted);
}

}  // namespace

void TopicNode::writeIndexSitemap(const HelpProject& project, TextStream& out,
                                  std::string& indent, const KeywordCollator& collator) {
    sortLevel(children, collator);
    if (!title.empty()) {
        out << indent << "<LI> <OBJECT type=\"text/sitemap\">\n";
        out << indent << "\t<param name=\"Name\" value=\"";
        out.encoded(appendEntities, title) << "\">\n";
        if (!file.empty()) {
            out << indent << "\t<param name=\"Local\" value=\"" << project.listDirectoryUrl << file;
            writeFragment(out, anchor) << "\">\n";
        } else {
            out << indent << "\t<param name=\"See Also\" value=\"";
            out.encoded(appendEntities, title) << "\">\n";
        }
        out << indent << "\t</OBJECT>\n";
    }
    if (children.empty()) return;
    out << indent << "<UL>\n";
    indent.push_back('\t');
    for (auto& child : children) child->writeIndexSitemap(project, out, indent, collator);
    indent.pop_back();
    out << indent << "</UL>\n";
}

int HelpProject::writeIndexFile(const std::string& baseName) {
    FileTextStream out;
    if (int status = out.open(baseName + ".hhk")) return status;
    KeywordCollator collator;
    writeSitemapHeader(out);
    std::string indent;
    indexRoot.writeIndexSitemap(*this, out, indent, collator);
    out << "</BODY></HTML>\n";
    return out.close();
}

}  // namespace qv
