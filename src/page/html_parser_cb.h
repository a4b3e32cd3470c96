#pragma once
#include <tinyxml.h>

#include <string>

namespace qv {

class HelpProject;
class TopicNode;

// Walks one parsed page: headings h1-h6 with an id (or name) grow the
// contents tree below the project's current node, and elements with an "ix"
// attribute add keywords to the index tree.
class HtmlParserCb : public TiXmlVisitor {
public:
    explicit HtmlParserCb(HelpProject& project) : project(project) {}

    bool VisitEnter(const TiXmlElement& element, const TiXmlAttribute* firstAttribute) override;
    bool VisitExit(const TiXmlElement& element) override;
    bool Visit(const TiXmlText& text) override;

private:
    void attachHeading(const TiXmlElement& element, int level);
    void startKeyword(const TiXmlElement& element, std::string ixValue);
    void addKeyword(const std::string& text);
    void reportNestedKeyword(const TiXmlElement& element, const char* ixValue);

    HelpProject& project;
    const TiXmlElement* headingElement = nullptr;
    const TiXmlElement* keywordElement = nullptr;
    TopicNode* keywordParent = nullptr;
    std::string currentAnchor;
    std::string keywordText;
};

}  // namespace qv
