// The index file (.hhk): every level of the index tree sorted into keyword
// order, then written in sitemap form.

#include <algorithm>
#include <numeric>
#include <string_view>
#include <unordered_map>

#include "driver/help_project.h"
#include "driver/text_stream.h"
#include "output/sitemap.h"
#include "page/encoding.h"
#include "platform/collation.h"

namespace qv {

namespace {

// Sorts one level by keyword order. Equal keywords keep their document
// order, so that repeated runs give the same file. A keyword found on many
// pages is one title many times over: its sort key is made once.
void sortLevel(std::vector<std::unique_ptr<TopicNode>>& children,
               const KeywordCollator& collator) {
    if (children.size() < 2) return;
    // Small levels are not worth a table of their titles.
    constexpr std::size_t kShared = 32;
    std::vector<std::string> keys;  // one per distinct title
    std::vector<std::size_t> keyOf(children.size());
    std::unordered_map<std::string_view, std::size_t> keyOfTitle;
    if (children.size() >= kShared) keyOfTitle.reserve(children.size());
    for (std::size_t i = 0; i < children.size(); ++i) {
        const std::string& title = children[i]->title;
        if (children.size() >= kShared) {
            auto [entry, added] = keyOfTitle.emplace(title, keys.size());
            keyOf[i] = entry->second;
            if (!added) continue;
        } else {
            keyOf[i] = keys.size();
        }
        keys.push_back(collator.sortKey(title));
    }
    std::vector<std::size_t> order(children.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return keyOf[a] != keyOf[b] && keys[keyOf[a]] < keys[keyOf[b]];
    });
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
