#include "driver/help_project.h"

#include "driver/loading.h"
#include "driver/messages.h"

namespace qv {

int HelpProject::processFile(const std::string& path, FileProcessor processor) {
    printMessage({"Traitement du fichier \"", path, "\""});
    std::string text;
    int status = loadTextFile(path, text);
    if (status != 0) return status;
    return (this->*processor)(path, text);
}

TopicNode* HelpProject::findKeywordChild(const TopicNode& parent, std::string_view title) {
    // Below this many children a scan costs less than keeping a table.
    constexpr std::size_t kScanned = 8;
    const auto& children = parent.children;
    if (children.size() <= kScanned) {
        for (const auto& child : children) {
            if (child->title == title) return child.get();
        }
        return nullptr;
    }
    ChildTable& table = keywordChildren_[&parent];
    if (table.indexed == 0) table.byTitle.reserve(children.size() * 2);
    for (; table.indexed < children.size(); ++table.indexed) {
        TopicNode& child = *children[table.indexed];
        table.byTitle.emplace(child.title, &child);  // the first of a title stays
    }
    auto found = table.byTitle.find(title);
    return found == table.byTitle.end() ? nullptr : found->second;
}

}  // namespace qv
