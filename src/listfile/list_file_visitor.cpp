#include "listfile/list_file_visitor.h"

#include <strings.h>

#include <cstring>

#include "listfile/list_markup.h"
#include "platform/languages.h"

namespace qv {

namespace {

const TiXmlAttribute* attributeNamed(const TiXmlElement& element, const char* name) {
    for (const TiXmlAttribute* a = element.FirstAttribute(); a != nullptr; a = a->Next()) {
        if (std::strcmp(a->Name(), name) == 0) return a;
    }
    return nullptr;
}

// Meets the page entries as ListFileVisitor does, at any depth, in
// document order.
class ListedPagesVisitor : public TiXmlVisitor {
public:
    bool VisitEnter(const TiXmlElement& element, const TiXmlAttribute*) override {
        if (const char* name = pageEntryName(element)) names.emplace_back(name);
        return true;
    }
    std::vector<std::string> names;
};

}  // namespace

bool findPageSyntax(const char* value, PageSyntax& syntax) {
    if (strcasecmp(value, "xml") == 0) {
        syntax = PageSyntax::Xml;
    } else if (strcasecmp(value, "html") == 0) {
        syntax = PageSyntax::Html;
    } else {
        return false;
    }
    return true;
}

bool findPageEntries(const char* value, bool& pageEntries) {
    if (strcasecmp(value, "yes") == 0) {
        pageEntries = true;
    } else if (strcasecmp(value, "no") == 0) {
        pageEntries = false;
    } else {
        return false;
    }
    return true;
}

bool ListFileVisitor::VisitEnter(const TiXmlElement& element, const TiXmlAttribute*) {
    if (status_ != 0) return false;
    notes_.entering(element);
    if (isHelpSetElement(element)) {
        if (const char* title = element.Attribute("title")) project_.title = title;
        if (const TiXmlAttribute* language = attributeNamed(element, "language")) {
            status_ = chooseLanguage(*language);
            if (status_ != 0) return false;
        }
        if (const TiXmlAttribute* pages = attributeNamed(element, "pages")) {
            status_ = choosePageSyntax(*pages);
            if (status_ != 0) return false;
        }
        if (const TiXmlAttribute* entries = attributeNamed(element, "pageentries")) {
            status_ = choosePageEntries(*entries);
            if (status_ != 0) return false;
        }
    } else if (const char* name = pageEntryName(element)) {
        status_ = handlePage_(name, depth_);
        ++depth_;
        if (status_ != 0) return false;
        project_.pages.push_back(name);
        if (element.Attribute("default") != nullptr) project_.defaultTopic = name;
    } else if (const TemplateEntry entry = templateEntry(element); entry.name != nullptr) {
        auto& templates = entry.kind == TemplateKind::Contents ? project_.contentsTemplates
                                                               : project_.indexTemplates;
        templates.push_back(entry.name);
    } else if (const char* header = contextHeaderName(element)) {
        project_.contexts.headers.push_back(header);
    }
    return status_ == 0;
}

int ListFileVisitor::chooseLanguage(const TiXmlAttribute& attribute) {
    WindowsLanguage language;
    if (!findWindowsLanguage(attribute.ValueStr(), language)) {
        return notes_.unknownLanguage(attribute);
    }
    project_.languageId = language.id;
    project_.languageName = language.englishName;
    return 0;
}

int ListFileVisitor::choosePageSyntax(const TiXmlAttribute& attribute) {
    if (!findPageSyntax(attribute.Value(), project_.pageSyntax)) {
        return notes_.unknownPageSyntax(attribute);
    }
    return 0;
}

int ListFileVisitor::choosePageEntries(const TiXmlAttribute& attribute) {
    if (!findPageEntries(attribute.Value(), project_.pageEntries)) {
        return notes_.unknownPageEntries(attribute);
    }
    return 0;
}

bool ListFileVisitor::VisitExit(const TiXmlElement& element) {
    if (pageEntryName(element) != nullptr) --depth_;
    return status_ == 0;
}

std::vector<std::string> listedPages(const TiXmlDocument& list) {
    ListedPagesVisitor visitor;
    list.Accept(&visitor);
    return std::move(visitor.names);
}

}  // namespace qv
