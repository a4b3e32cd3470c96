#include "listfile/list_check.h"

#include <strings.h>

#include <cstring>

#include <algorithm>

#include "page/input_findings.h"
#include "platform/languages.h"
#include "text/links.h"
#include "text/lost_character.h"
#include "xml/parse_failure.h"

namespace qv {

namespace {

// The elements the walk reads, and the attributes it reads of each.
struct KnownElement {
    const char* name;
    const char* attributes[5];
};
const KnownElement kKnownElements[] = {
    {"files", {"title", "language", "pages", "pageentries", nullptr}},
    {"file", {"name", "default", nullptr}},
    {"table", {"name", nullptr}},
    {"index", {"name", nullptr}},
};

const KnownElement* knownElement(const char* name) {
    for (const KnownElement& known : kKnownElements) {
        if (strcasecmp(known.name, name) == 0) return &known;
    }
    return nullptr;
}

}  // namespace

ListFileCheck::ListFileCheck(FindingSink& findings, const std::string& path,
                             const std::string& text, const InputDecoding& decoding)
    : findings_(findings), path_(path), text_(text), cut_(findTextCut(text)) {
    FindingText described = describeDecoding(decoding);
    if (!described.empty()) report({}, Severity::Warning, std::move(described));
}

SourceMap& ListFileCheck::positions() {
    if (!positions_) positions_.emplace(std::string_view(text_), TIXML_ENCODING_UTF8);
    return *positions_;
}

void ListFileCheck::report(TextPosition where, Severity severity, FindingText message) {
    findings_.report({path_, where, severity, std::move(message)});
}

TextPosition ListFileCheck::templateEntry(const std::string& name) const {
    auto found = templates_.find(name);
    return found == templates_.end() ? TextPosition{} : found->second;
}

void ListFileCheck::reportCut() {
    if (cut_.kind == TextCut::Kind::None || cutReported_) return;
    cutReported_ = true;
    const TextPosition where =
        cut_.kind == TextCut::Kind::Nul ? positions().fromOffset(cut_.offset) : TextPosition{};
    report(where, Severity::Warning, describeCut(cut_.kind));
}

void ListFileCheck::failed(const XmlFailure& failure) {
    ParseFailure described = describeParseFailure(failure, positions());
    if (failure.kind == XmlFailure::Kind::Refused) {
        described.description.push_back(" : liste refus\351e");
        reportCut();
    } else if (cut_.kind != TextCut::Kind::None) {
        // The parser read up to the first NUL: an error there is the cut's.
        const std::size_t offset = positions().parserOffset(failure.at);
        if (offset == std::string_view::npos || offset >= cut_.offset) {
            described.description = {failure.description};
            const FindingText cause =
                describeCutWithin(cut_.kind, positions().fromOffset(cut_.offset));
            described.description.insert(described.description.end(), cause.begin(), cause.end());
            cutReported_ = true;
        }
    }
    report(described.at, Severity::Error, std::move(described.description));
}

int ListFileCheck::unknownLanguage(const TiXmlAttribute& language) {
    // The spelling of a locale ("fr_FR") for a language tag.
    std::string tag = language.ValueStr();
    std::replace(tag.begin(), tag.end(), '_', '-');
    WindowsLanguage known;
    FindingText message{"langue \253 ", AuthorText{language.ValueStr()}, " \273 inconnue : "};
    if (tag != language.ValueStr() && findWindowsLanguage(tag, known)) {
        message.insert(message.end(), {"\351crivez \253 ", AuthorText{tag}, " \273"});
    } else {
        message.push_back("\351crivez un identificateur comme 0x40C ou une balise comme fr-FR");
    }
    report(positions().fromParser(parsedAt(language)), Severity::Error, std::move(message));
    return 0;
}

int ListFileCheck::unknownPageSyntax(const TiXmlAttribute& pages) {
    report(positions().fromParser(parsedAt(pages)), Severity::Error,
           {"lecture des pages \253 ", AuthorText{pages.ValueStr()},
            " \273 inconnue : \351crivez \253 xml \273 ou \253 html \273"});
    return 0;
}

int ListFileCheck::unknownPageEntries(const TiXmlAttribute& pageEntries) {
    report(positions().fromParser(parsedAt(pageEntries)), Severity::Error,
           {"pageentries \253 ", AuthorText{pageEntries.ValueStr()},
            " \273 inconnu : \351crivez \253 yes \273 ou \253 no \273"});
    return 0;
}

void ListFileCheck::parsed(const TiXmlDocument& document) {
    reportCut();
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
    current_ = positions().fromParser(parsedAt(element));
    if (!rootSeen_) {
        root_ = current_;
        rootSeen_ = true;
    }
    const AuthorText elementName{element.ValueStr()};
    const KnownElement* known = knownElement(element.Value());
    if (known == nullptr) {
        report(current_, Severity::Warning,
               {"\351l\351ment <", elementName, "> inconnu : ignor\351"});
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
        const auto where = [&] { return positions().fromParser(parsedAt(*a)); };
        if (exact) {
            if (!helpRoot || std::strcmp(a->Name(), "title") != 0) continue;
            const LostCharacter lost = firstLostCharacter(a->ValueStr());
            if (lost.found()) {
                report(where(), Severity::Warning,
                       {"caract\350re " + lost.name +
                        " absent du code page 1252 dans le titre de l'aide : il deviendra "
                        "\253 ? \273"});
            }
            continue;
        }
        FindingText message{"attribut \253 ", AuthorText{a->NameTStr()}, " \273 inconnu sur <",
                            elementName, "> : "};
        if (expected != nullptr) {
            if (std::strcmp(expected, "name") == 0) nameMiswritten = true;
            message.push_back("\351crivez \253 " + std::string(expected) + " \273");
        } else {
            message.push_back("ignor\351");
        }
        report(where(), Severity::Warning, std::move(message));
    }
    if (helpRoot) return;
    const char* name = element.Attribute("name");
    if (name == nullptr) {
        if (!nameMiswritten) {
            report(current_, Severity::Warning,
                   {"\351l\351ment <", elementName, "> sans attribut name : ignor\351"});
        }
    } else if (std::strcmp(known->name, "file") != 0) {
        templates_.emplace(name, current_);
    }
}

}  // namespace qv
