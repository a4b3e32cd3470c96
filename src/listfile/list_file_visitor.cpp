#include "listfile/list_file_visitor.h"

#include <strings.h>

#include "io/messages.h"
#include "model/status.h"
#include "platform/languages.h"

namespace qv {

namespace {

bool isNamed(const TiXmlElement& element, const char* name) {
    return strcasecmp(element.Value(), name) == 0;
}

// Meets the page entries as ListFileVisitor does: every element named
// "file" in any case with a "name", at any depth, in document order.
class ListedPagesVisitor : public TiXmlVisitor {
public:
    bool VisitEnter(const TiXmlElement& element, const TiXmlAttribute*) override {
        const char* name = element.Attribute("name");
        if (isNamed(element, "file") && name != nullptr) names.emplace_back(name);
        return true;
    }
    std::vector<std::string> names;
};

}  // namespace

bool ListFileVisitor::VisitEnter(const TiXmlElement& element, const TiXmlAttribute*) {
    if (status_ != 0) return false;
    if (notes_ != nullptr) notes_->entering(element);
    const char* name = element.Attribute("name");
    if (isNamed(element, "files")) {
        if (const char* title = element.Attribute("title")) project_.title = title;
        if (const char* language = element.Attribute("language")) {
            status_ = chooseLanguage(language);
            if (status_ != 0) return false;
        }
    } else if (isNamed(element, "file") && name != nullptr) {
        status_ = handlePage_(name, depth_);
        ++depth_;
        if (status_ != 0) return false;
        project_.pages.push_back(name);
        if (element.Attribute("default") != nullptr) project_.defaultTopic = name;
    } else if (isNamed(element, "table") && name != nullptr) {
        project_.contentsTemplates.push_back(name);
    } else if (isNamed(element, "index") && name != nullptr) {
        project_.indexTemplates.push_back(name);
    }
    return status_ == 0;
}

int ListFileVisitor::chooseLanguage(const char* value) {
    WindowsLanguage language;
    if (!findWindowsLanguage(value, language)) {
        printMessage({"Langue inconnue : \"", Verbatim{value}, "\" (attribut language de l'\351l\351ment files ;"
                      " un identificateur comme 0x40C ou une balise comme fr-FR)"});
        return kStatusInvalidData;
    }
    project_.languageId = language.id;
    project_.languageName = language.englishName;
    return 0;
}

bool ListFileVisitor::VisitExit(const TiXmlElement& element) {
    if (isNamed(element, "file") && element.Attribute("name") != nullptr) --depth_;
    return status_ == 0;
}

std::vector<std::string> listedPages(const TiXmlDocument& list) {
    ListedPagesVisitor visitor;
    list.Accept(&visitor);
    return std::move(visitor.names);
}

}  // namespace qv

