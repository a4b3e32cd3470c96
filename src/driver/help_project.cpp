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

TopicNode* HelpProject::findKeywordChild(const TopicNode& parent, const std::string& title) const {
    auto found = keywordChildren_.find(ChildKey{&parent, title});
    return found == keywordChildren_.end() ? nullptr : found->second;
}

void HelpProject::noteKeywordChild(const TopicNode& parent, TopicNode& child) {
    keywordChildren_.emplace(ChildKey{&parent, child.title}, &child);
}

}  // namespace qv
