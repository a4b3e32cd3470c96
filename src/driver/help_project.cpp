#include "driver/help_project.h"

#include <algorithm>

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
    for (; table.indexed < children.size(); ++table.indexed) table.add(*children[table.indexed]);
    return table.find(title);
}

void HelpProject::ChildTable::add(TopicNode& child) {
    if ((used_ + 1) * 2 > slots_.size()) {
        std::vector<Slot> grown(std::max<std::size_t>(64, slots_.size() * 2), Slot{0, nullptr});
        const std::size_t mask = grown.size() - 1;
        for (const Slot& slot : slots_) {
            if (slot.child == nullptr) continue;
            std::size_t at = slot.hash & mask;
            while (grown[at].child != nullptr) at = (at + 1) & mask;
            grown[at] = slot;
        }
        slots_.swap(grown);
    }
    const std::size_t hash = std::hash<std::string_view>()(child.title);
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = hash & mask;
    for (; slots_[at].child != nullptr; at = (at + 1) & mask) {
        if (slots_[at].hash == hash && slots_[at].child->title == child.title) return;
    }
    slots_[at] = Slot{hash, &child};
    ++used_;
}

TopicNode* HelpProject::ChildTable::find(std::string_view title) const {
    if (slots_.empty()) return nullptr;
    const std::size_t hash = std::hash<std::string_view>()(title);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = hash & mask; slots_[at].child != nullptr; at = (at + 1) & mask) {
        if (slots_[at].hash == hash && slots_[at].child->title == title) return slots_[at].child;
    }
    return nullptr;
}

}  // namespace qv
