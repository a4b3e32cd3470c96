#pragma once
#include <tinyxml.h>

namespace qv {

class HelpProject;

// Walks the list file: records the title and the templates, and has every
// page named by a "file" element analysed the moment it is met.
class TopXmlParserCb : public TiXmlVisitor {
public:
    explicit TopXmlParserCb(HelpProject& project) : project(project) {}

    bool VisitEnter(const TiXmlElement& element, const TiXmlAttribute* firstAttribute) override;
    bool VisitExit(const TiXmlElement& element) override;

    int result() const { return status; }

private:
    HelpProject& project;
    int depth = 0;   // enclosing "file" elements that have a name
    int status = 0;  // the status of the first page that failed
};

}  // namespace qv
