#include "page/page_check.h"

#include <strings.h>

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "page/page_visitor.h"
#include "text/cp1252.h"
#include "text/lost_character.h"
#include "xml/parse.h"
#include "xml/parse_failure.h"

namespace qv {

namespace {

// Whether the element's name attribute names an anchor: on a link (<a
// name>) and on a heading, where the contents takes it; elsewhere (meta,
// form fields, param) it names something else.
bool namesAnchor(const char* element) {
    if (strcasecmp(element, "a") == 0) return true;
    return (element[0] == 'h' || element[0] == 'H') && element[1] >= '1' && element[1] <= '6' &&
           element[2] == '\0';
}

// Collects the anchors of a page (every id, and the names above) and its
// href and src values.
class FactsVisitor : public TiXmlVisitor {
public:
    explicit FactsVisitor(PageFacts& facts) : facts_(facts) {}

    bool VisitEnter(const TiXmlElement& element, const TiXmlAttribute* first) override {
        const char* defined = nullptr;  // an element's id and name may agree
        for (const TiXmlAttribute* a = first; a != nullptr; a = a->Next()) {
            const char* name = a->Name();
            if (strcasecmp(name, "href") == 0 || strcasecmp(name, "src") == 0) {
                facts_.links.push_back({a->Value(), a->Row(), a->Column()});
            } else if (strcasecmp(name, "id") == 0 ||
                       (strcasecmp(name, "name") == 0 && namesAnchor(element.Value()))) {
                if (defined != nullptr && std::strcmp(defined, a->Value()) == 0) continue;
                defined = a->Value();
                define(*a);
            }
        }
        return true;
    }

    // Anchors given a second time, with the attribute that first gave each.
    std::vector<std::pair<const TiXmlAttribute*, const TiXmlAttribute*>> repeated;

private:
    void define(const TiXmlAttribute& attribute) {
        auto [found, added] = first_.emplace(attribute.ValueStr(), &attribute);
        if (added) {
            facts_.anchors.push_back(attribute.ValueStr());
        } else {
            repeated.emplace_back(&attribute, found->second);
        }
    }

    PageFacts& facts_;
    std::unordered_map<std::string, const TiXmlAttribute*> first_;
};

}  // namespace

PageCheck::PageCheck(PageFacts& facts, const std::string& path, std::string loaded,
                     const std::string& parsed)
    : facts_(facts), path_(path) {
    facts_.positions = std::make_unique<SourceMap>(std::move(loaded), std::string_view(parsed),
                                                   TIXML_ENCODING_UTF8);
}

PageCheck::PageCheck(PageFacts& facts, const std::string& path, const std::string& parsed)
    : facts_(facts), path_(path) {
    facts_.positions = std::make_unique<SourceMap>(std::string_view(parsed), TIXML_ENCODING_UTF8);
}

void PageCheck::report(TextPosition where, Severity severity, std::string message) {
    facts_.findings.report({path_, where.row, where.column, severity, std::move(message)});
}

TextPosition PageCheck::at(const TiXmlBase& node) {
    return facts_.positions->fromParser(node.Row(), node.Column());
}

void PageCheck::refused(const XmlExcess& excess) {
    report(facts_.positions->fromOffset(excess.offset), Severity::Error,
           describeExcess(excess) + " : page refus\351e");
}

void PageCheck::parseError(const TiXmlDocument& document) {
    ParseFailure failure = describeParseFailure(document, *facts_.positions);
    report(failure.where, Severity::Error, std::move(failure.description));
}

void PageCheck::walked(const TiXmlDocument& document) {
    facts_.parsed = true;
    FactsVisitor visitor(facts_);
    document.Accept(&visitor);
    for (const auto& [again, first] : visitor.repeated) {
        const std::string anchor = utf8ToCp1252(again->ValueStr());
        report(at(*again), Severity::Warning,
               "ancre \253 " + anchor + " \273 d\351j\340 d\351finie en " + rowAndColumn(at(*first)) +
                   " : les liens vers elle m\350nent \340 la premi\350re");
    }
}

void PageCheck::skippedLevels(const TiXmlElement& heading, int previous, int number) {
    const std::string after =
        previous > 0 ? "h" + std::to_string(previous) + " puis " : "en t\352te de page : ";
    report(at(heading), Severity::Warning,
           "niveau de titre saut\351 (" + after + "h" + std::to_string(number) +
               ") : l'entr\351e \253 [titre manquant] \273 appara\356tra dans la table des "
               "mati\350res ; utilisez h" +
               std::to_string(std::max(previous, 0) + 1));
}

void PageCheck::nestedKeyword(const TiXmlElement& element, const char* ixValue) {
    report(at(element), Severity::Warning,
           "attribut ix=\"" + utf8ToCp1252(ixValue) +
               "\" dans le texte d'un autre mot cl\351 : ignor\351");
}

void PageCheck::deepKeyword(const TiXmlElement& element) {
    report(at(element), Severity::Error,
           "attribut ix de plus de " + std::to_string(kMaxKeywordLevels) +
               " niveaux : page refus\351e");
}

void PageCheck::converted(const TiXmlBase& node, std::string_view utf8, const std::string& cp1252,
                          bool title) {
    if (std::count(cp1252.begin(), cp1252.end(), '?') ==
        std::count(utf8.begin(), utf8.end(), '?')) {
        return;
    }
    const LostCharacter lost = firstLostCharacter(utf8);
    if (!lost.found()) return;
    // Where the character itself is, when the page writes it as it is (not
    // as a numeric reference): a little after the node starts.
    SourceMap& positions = *facts_.positions;
    TextPosition position = at(node);
    const std::size_t start = positions.parserOffset(node.Row(), node.Column());
    if (start != std::string_view::npos) {
        const std::size_t found = positions.rewritten()
                                      .substr(start, utf8.size() * 2 + 256)
                                      .find(utf8.substr(lost.offset, lost.length));
        if (found != std::string_view::npos) position = positions.fromOffset(start + found);
    }
    report(position, Severity::Warning,
           "caract\350re " + lost.name + " absent du code page 1252 dans " +
               (title ? "un titre" : "un mot cl\351") + " : il deviendra \253 ? \273");
}

}  // namespace qv
