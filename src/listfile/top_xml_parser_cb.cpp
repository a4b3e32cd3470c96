#include "listfile/top_xml_parser_cb.h"

#include <strings.h>

#include "driver/help_project.h"

namespace qv {

namespace {

bool isNamed(const TiXmlElement& element, const char* name) {
    return strcasecmp(element.Value(), name) == 0;
}

}  // namespace

bool TopXmlParserCb::VisitEnter(const TiXmlElement& element, const TiXmlAttribute*) {
    if (status != 0) return false;
    const char* name = element.Attribute("name");
    if (isNamed(element, "files")) {
        if (const char* title = element.Attribute("title")) project.title = title;
    } else if (isNamed(element, "file") && name != nullptr) {
        project.contentsRoot.file = name;
        project.pageDepth = depth;
        ++depth;
        status = project.processFile(project.listDirectory + name, &HelpProject::analysePage);
        if (status != 0) return false;
        project.pages.push_back(name);
        if (element.Attribute("default") != nullptr) project.defaultTopic = name;
    } else if (isNamed(element, "table") && name != nullptr) {
        project.contentsTemplates.push_back(name);
    } else if (isNamed(element, "index") && name != nullptr) {
        project.indexTemplates.push_back(name);
    }
    return status == 0;
}

bool TopXmlParserCb::VisitExit(const TiXmlElement& element) {
    if (isNamed(element, "file") && element.Attribute("name") != nullptr) {
        --depth;
        project.pageDepth = depth;
    }
    return status == 0;
}

}  // namespace qv
