#include "check/list_findings.h"

#include <strings.h>

#include <cstring>

#include <algorithm>

#include "check/input_findings.h"
#include "check/parse_failure.h"
#include "listfile/list_file_visitor.h"
#include "listfile/list_markup.h"
#include "platform/languages.h"
#include "text/links.h"
#include "text/lost_character.h"

namespace qv {

ListFindings::ListFindings(FindingSink& findings, const std::string& path, const std::string& text,
                           const InputDecoding& decoding, ContextFindings& contexts)
    : findings_(findings), contexts_(contexts), path_(path), text_(text), cut_(findTextCut(text)) {
    FindingText described = describeDecoding(decoding);
    if (!described.empty()) report({}, Severity::Warning, std::move(described));
}

SourceMap& ListFindings::positions() {
    if (!positions_) positions_.emplace(std::string_view(text_), TIXML_ENCODING_UTF8);
    return *positions_;
}

void ListFindings::report(TextPosition where, Severity severity, FindingText message) {
    findings_.report({path_, where, severity, std::move(message)});
}

TextPosition ListFindings::templateEntry(const std::string& name) const {
    auto found = templates_.find(name);
    return found == templates_.end() ? TextPosition{} : found->second;
}

void ListFindings::reportCut() {
    if (cut_.kind == TextCut::Kind::None || cutReported_) return;
    cutReported_ = true;
    const TextPosition where =
        cut_.kind == TextCut::Kind::Nul ? positions().fromOffset(cut_.offset) : TextPosition{};
    report(where, Severity::Warning, describeCut(cut_.kind));
}

void ListFindings::failed(const XmlFailure& failure) {
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

int ListFindings::unknownLanguage(const TiXmlAttribute& language) {
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

int ListFindings::unknownPageSyntax(const TiXmlAttribute& pages) {
    report(positions().fromParser(parsedAt(pages)), Severity::Error,
           {"lecture des pages \253 ", AuthorText{pages.ValueStr()},
            " \273 inconnue : \351crivez \253 xml \273 ou \253 html \273"});
    return 0;
}

int ListFindings::unknownPageEntries(const TiXmlAttribute& pageEntries) {
    report(positions().fromParser(parsedAt(pageEntries)), Severity::Error,
           {"pageentries \253 ", AuthorText{pageEntries.ValueStr()},
            " \273 inconnu : \351crivez \253 yes \273 ou \253 no \273"});
    return 0;
}

void ListFindings::parsed(const TiXmlDocument& document) {
    reportCut();
    for (const std::string& name : listedPages(document)) pages_.insert(helpSetPath(name));
    MapEntries entries(*this);
    document.Accept(&entries);
}

// The map entries, met as the list's walk meets them: at any depth, in order.
bool ListFindings::MapEntries::VisitEnter(const TiXmlElement& element, const TiXmlAttribute*) {
    if (const char* header = contextHeaderName(element)) {
        list_.contexts_.headerListed(list_.path_, header,
                                     list_.positions().fromParser(parsedAt(element)));
    }
    return true;
}

void ListFindings::entering(const TiXmlElement& element) {
    current_ = positions().fromParser(parsedAt(element));
    if (!rootSeen_) {
        root_ = current_;
        rootSeen_ = true;
    }
    const AuthorText elementName{element.ValueStr()};
    const char* const* known = listAttributes(element);
    if (known == nullptr) {
        report(current_, Severity::Warning,
               {"\351l\351ment <", elementName, "> inconnu : ignor\351"});
        return;
    }
    const bool helpRoot = isHelpSetElement(element);
    bool nameMiswritten = false;
    for (const TiXmlAttribute* a = element.FirstAttribute(); a != nullptr; a = a->Next()) {
        const char* expected = nullptr;  // the known attribute it differs from by case
        bool exact = false;
        for (const char* const* attribute = known; *attribute != nullptr; ++attribute) {
            if (std::strcmp(*attribute, a->Name()) == 0) exact = true;
            if (strcasecmp(*attribute, a->Name()) == 0) expected = *attribute;
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
    } else if (qv::templateEntry(element).name != nullptr) {
        templates_.emplace(name, current_);
    }
}

}  // namespace qv
