#include "listfile/list_check.h"

#include <strings.h>

#include <cstring>

#include "text/cp1252.h"
#include "text/links.h"
#include "text/lost_character.h"
#include "xml/parse.h"
#include "xml/parse_failure.h"

namespace qv {

namespace {

// The elements the walk reads, and the attributes it reads of each.
struct KnownElement {
    const char* name;
    const char* attributes[4];
};
const KnownElement kKnownElements[] = {
    {"files", {"title", "language", "pages", nullptr}},
    {"file", {"name", "default", nullptr, nullptr}},
    {"table", {"name", nullptr, nullptr, nullptr}},
    {"index", {"name", nullptr, nullptr, nullptr}},
};

const KnownElement* knownElement(const char* name) {
    for (const KnownElement& known : kKnownElements) {
        if (strcasecmp(known.name, name) == 0) return &known;
    }
    return nullptr;
}

}  // namespace

SourceMap& ListFileCheck::positions() {
    if (!positions_) positions_.emplace(std::string_view(text_), TIXML_ENCODING_UTF8);
    return *positions_;
}

void ListFileCheck::report(TextPosition where, Severity severity, std::string message) {
    findings_.report({path_, where.row, where.column, severity, std::move(message)});
}

TextPosition ListFileCheck::templateEntry(const std::string& name) const {
    auto found = templates_.find(name);
    return found == templates_.end() ? TextPosition{0, 0} : found->second;
}

void ListFileCheck::refused(const XmlExcess& excess) {
    report(positions().fromOffset(excess.offset), Severity::Error,
           describeExcess(excess) + " : liste refus\351e");
}

void ListFileCheck::parseError(const TiXmlDocument& document) {
    ParseFailure failure = describeParseFailure(document, positions());
    report(failure.where, Severity::Error, std::move(failure.description));
}

void ListFileCheck::parsed(const TiXmlDocument& document) {
    // The elements the walk hands on as pages: "file" in any case, with a name.
    struct PageNames : TiXmlVisitor {
        std::unordered_set<std::string>& pages;
        explicit PageNames(std::unordered_set<std::string>& found) : pages(found) {}
        bool VisitEnter(const TiXmlElement& element, const TiXmlAttribute*) override {
            const char* name = element.Attribute("name");
            if (name != nullptr && strcasecmp(element.Value(), "file") == 0) {
                pages.insert(helpSetPath(name));
            }
            return true;
        }
    } names(pages_);
    document.Accept(&names);
}

void ListFileCheck::entering(const TiXmlElement& element) {
    current_ = positions().fromParser(element.Row(), element.Column());
    if (!rootSeen_) {
        root_ = current_;
        rootSeen_ = true;
    }
    const std::string elementName = utf8ToCp1252(element.Value());
    const KnownElement* known = knownElement(element.Value());
    if (known == nullptr) {
        report(current_, Severity::Warning,
               "\351l\351ment <" + elementName + "> inconnu : ignor\351");
        return;
    }
    const bool helpRoot = std::strcmp(known->name, "files") == 0;
    bool nameMiswritten = false;
    for (const TiXmlAttribute* a = element.FirstAttribute(); a != nullptr; a = a->Next()) {
        const char* expected = nullptr;  // the known attribute it differs from by case
        bool exact = false;
        for (const char* attribute : known->attributes) {
            if (attribute == nullptr) break;
            if (std::strcmp(attribute, a->Name()) == 0) exact = true;
            if (strcasecmp(attribute, a->Name()) == 0) expected = attribute;
        }
        const auto where = [&] { return positions().fromParser(a->Row(), a->Column()); };
        if (exact && helpRoot && std::strcmp(a->Name(), "pages") == 0) {
            PageSyntax syntax;
            if (!findPageSyntax(a->Value(), syntax)) {
                report(where(), Severity::Error,
                       "lecture des pages \253 " + utf8ToCp1252(a->Value()) +
                           " \273 inconnue : xml ou html");
            }
            continue;
        }
        if (exact) {
            if (!helpRoot || std::strcmp(a->Name(), "title") != 0) continue;
            const LostCharacter lost = firstLostCharacter(a->ValueStr());
            if (lost.found()) {
                report(where(), Severity::Warning,
                       "caract\350re " + lost.name +
                           " absent du code page 1252 dans le titre de l'aide : il deviendra "
                           "\253 ? \273");
            }
            continue;
        }
        const std::string message = "attribut \253 " + utf8ToCp1252(a->Name()) +
                                    " \273 inconnu sur <" + elementName + "> : ";
        if (expected != nullptr) {
            if (std::strcmp(expected, "name") == 0) nameMiswritten = true;
            report(where(), Severity::Warning, message + "\351crivez \253 " + expected + " \273");
        } else {
            report(where(), Severity::Warning, message + "ignor\351");
        }
    }
    if (helpRoot) return;
    const char* name = element.Attribute("name");
    if (name == nullptr) {
        if (!nameMiswritten) {
            report(current_, Severity::Warning,
                   "\351l\351ment <" + elementName + "> sans attribut name : ignor\351");
        }
    } else if (std::strcmp(known->name, "file") != 0) {
        templates_.emplace(name, current_);
    }
}

}  // namespace qv
