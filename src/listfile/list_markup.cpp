#include "listfile/list_markup.h"

#include <strings.h>

namespace qv {

namespace {

bool isNamed(const TiXmlElement& element, const char* name) {
    return strcasecmp(element.Value(), name) == 0;
}

struct ListElement {
    const char* name;
    const char* attributes[5];
};
const ListElement kListElements[] = {
    {"files", {"title", "language", "pages", "pageentries", nullptr}},
    {"file", {"name", "default", nullptr, nullptr}},
    {"table", {"name", nullptr, nullptr, nullptr}},
    {"index", {"name", nullptr, nullptr, nullptr}},
    {"map", {"name", nullptr, nullptr, nullptr}},
};

}  // namespace

bool isHelpSetElement(const TiXmlElement& element) { return isNamed(element, "files"); }

const char* pageEntryName(const TiXmlElement& element) {
    return isNamed(element, "file") ? element.Attribute("name") : nullptr;
}

const char* contextHeaderName(const TiXmlElement& element) {
    return isNamed(element, "map") ? element.Attribute("name") : nullptr;
}

TemplateEntry templateEntry(const TiXmlElement& element) {
    TemplateKind kind = TemplateKind::None;
    if (isNamed(element, "table")) {
        kind = TemplateKind::Contents;
    } else if (isNamed(element, "index")) {
        kind = TemplateKind::Index;
    }
    const char* name = kind == TemplateKind::None ? nullptr : element.Attribute("name");
    if (name == nullptr) return {};
    return {kind, name};
}

const char* const* listAttributes(const TiXmlElement& element) {
    for (const ListElement& known : kListElements) {
        if (isNamed(element, known.name)) return known.attributes;
    }
    return nullptr;
}

}  // namespace qv
