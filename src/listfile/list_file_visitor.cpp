#include "listfile/list_file_visitor.h"

#include <strings.h>

namespace qv {

namespace {

bool isNamed(const TiXmlElement& element, const char* name) {
    return strcasecmp(element.Value(), name) == 0;
}

}  // namespace

bool ListFileVisitor::VisitEnter(const TiXmlElement& element, const TiXmlAttribute*) {
    if (status_ != 0) return false;
    if (notes_ != nullptr) notes_->entering(element);
    const char* name = element.Attribute("name");
    if (isNamed(element, "files")) {
        if (const char* title = element.Attribute("title")) project_.title = title;
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

bool ListFileVisitor::VisitExit(const TiXmlElement& element) {
    if (isNamed(element, "file") && element.Attribute("name") != nullptr) --depth_;
    return status_ == 0;
}

}  // namespace qv

