#include "check/page_facts.h"

#include <strings.h>

#include <cstring>
#include <unordered_map>

#include "page/markup.h"

namespace qv {

namespace {

// Collects the anchors a browser reaches in a page, its href and src values,
// and its headings anchored the old way, by a link inside.
class FactsVisitor : public TiXmlVisitor {
public:
    explicit FactsVisitor(PageFacts& facts) : facts_(facts) {}

    bool VisitEnter(const TiXmlElement& element, const TiXmlAttribute* first) override {
        const char* defined = nullptr;              // an element's id and name may agree
        const TiXmlAttribute* ownAnchor = nullptr;  // as the page visitor reads one
        for (const TiXmlAttribute* a = first; a != nullptr; a = a->Next()) {
            const char* name = a->Name();
            // An id wins over a name, as links and the page visitor find it.
            if (std::strcmp(name, "id") == 0 ||
                (std::strcmp(name, "name") == 0 &&
                 (ownAnchor == nullptr || std::strcmp(ownAnchor->Name(), "id") != 0))) {
                ownAnchor = a;
            }
            if (strcasecmp(name, "href") == 0 || strcasecmp(name, "src") == 0) {
                facts_.links.push_back({a->Value(), {a->Row(), a->Column()}});
            } else if (browserAnchor(element, *a)) {
                if (defined != nullptr && std::strcmp(defined, a->Value()) == 0) continue;
                defined = a->Value();
                define(*a);
            }
        }
        if (openHeading_ == nullptr && ownAnchor == nullptr && headingLevel(element) != 0) {
            openHeading_ = &element;
        } else if (openHeading_ != nullptr && ownAnchor != nullptr && isLinkElement(element) &&
                   (marks.bare.empty() || marks.bare.back().heading != openHeading_)) {
            marks.bare.push_back({openHeading_, ownAnchor});
        }
        return true;
    }

    bool VisitExit(const TiXmlElement& element) override {
        if (&element == openHeading_) openHeading_ = nullptr;
        return true;
    }

    PageMarks marks;

private:
    void define(const TiXmlAttribute& attribute) {
        auto [found, added] = first_.emplace(attribute.ValueStr(), &attribute);
        if (added) {
            facts_.anchors.push_back(attribute.ValueStr());
        } else {
            marks.repeated.push_back({&attribute, found->second});
        }
    }

    PageFacts& facts_;
    std::unordered_map<std::string, const TiXmlAttribute*> first_;
    const TiXmlElement* openHeading_ = nullptr;
};

}  // namespace

PageMarks gatherFacts(const TiXmlDocument& document, PageFacts& facts) {
    facts.parsed = true;
    FactsVisitor visitor(facts);
    document.Accept(&visitor);
    return std::move(visitor.marks);
}

}  // namespace qv
