#include "check/page_findings.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <unordered_set>

#include "check/input_findings.h"
#include "check/parse_failure.h"
#include "model/topic_node.h"
#include "page/analyse_page.h"
#include "page/markup.h"
#include "page/page_visitor.h"
#include "text/c_defines.h"
#include "text/entities.h"
#include "text/lost_character.h"

namespace qv {

namespace {

// The name of a reference "&name;" at the start of text that looks like a
// named one, or an empty view.
std::string_view referenceName(std::string_view text) {
    std::size_t end = 1;
    while (end < text.size() && end <= 9 && std::isalnum(static_cast<unsigned char>(text[end]))) {
        ++end;
    }
    if (end == 1 || end >= text.size() || text[end] != ';' ||
        !std::isalpha(static_cast<unsigned char>(text[1]))) {
        return {};
    }
    return text.substr(1, end - 1);
}

// Whether the normalisation or the parser decodes the named reference.
bool decoded(std::string_view name) {
    std::string_view utf8;
    return lookupCharacterEntity(name, utf8) || name == "lt" || name == "gt" || name == "amp" ||
           name == "quot" || name == "apos";
}

const char* textKind(bool title) { return title ? "un titre" : "un mot cl\351"; }

// The length of a character reference ("&#x2192;", "&rarr;") at the start of
// text, or 0.
std::size_t referenceLength(std::string_view text) {
    std::size_t end = 1;
    if (end < text.size() && text[end] == '#') ++end;
    const std::size_t first = end;
    while (end < text.size() && end < 40 && std::isalnum(static_cast<unsigned char>(text[end]))) {
        ++end;
    }
    return end > first && end < text.size() && text[end] == ';' ? end + 1 : 0;
}

// Where, in source from offset, the text of a text node has read the given
// number of characters: a reference and a CR LF stand for one. npos past
// the end.
std::size_t afterCharacters(std::string_view source, std::size_t offset, std::size_t characters) {
    for (; characters > 0 && offset < source.size(); --characters) {
        std::size_t length = 1;
        if (source[offset] == '&') {
            length = std::max<std::size_t>(referenceLength(source.substr(offset)), 1);
        } else if (source.compare(offset, 2, "\r\n") == 0) {
            length = 2;
        } else {
            while (offset + length < source.size() &&
                   (static_cast<unsigned char>(source[offset + length]) & 0xC0) == 0x80) {
                ++length;
            }
        }
        offset += length;
    }
    return offset < source.size() ? offset : std::string_view::npos;
}

}  // namespace

PageFindings::PageFindings(FindingSink& findings, const PreparedPage& page, bool parentMissing,
                           ContextFindings& contexts)
    : findings_(findings),
      contexts_(contexts),
      page_(page),
      parentMissing_(parentMissing),
      cut_(findTextCut(page.loaded)) {
    FindingText decoding = describeDecoding(page.decoding);
    if (!decoding.empty()) report({}, Severity::Warning, std::move(decoding));
    // A cut that a parse error shows is told with the error.
    if (cut_.kind == TextCut::Kind::None || failureAtCut(page.failure)) return;
    const TextPosition where = cut_.kind == TextCut::Kind::Nul
                                   ? positions().fromOriginalOffset(cut_.offset)
                                   : TextPosition{};
    report(where, Severity::Warning, describeCut(cut_.kind));
}

SourceMap& PageFindings::positions() {
    if (!positions_) positions_.emplace(page_.loaded, page_.text, TIXML_ENCODING_UTF8);
    return *positions_;
}

TextPosition PageFindings::at(const TiXmlBase& node) { return fromParser(parsedAt(node)); }

void PageFindings::report(TextPosition where, Severity severity, FindingText message) {
    findings_.report({page_.path, where, severity, std::move(message)});
}

bool PageFindings::failureAtCut(const XmlFailure& failure) {
    if (cut_.kind == TextCut::Kind::None || failure.kind != XmlFailure::Kind::NotWellFormed) {
        return false;
    }
    const std::size_t offset = positions().parserOffset(failure.at);
    return offset == std::string_view::npos || offset >= std::strlen(page_.text.c_str());
}

void PageFindings::failed(PreparedPage& page) {
    ParseFailure failure = describeParseFailure(page.failure, positions());
    if (page.failure.kind == XmlFailure::Kind::Refused) {
        failure.description.push_back(" : page refus\351e");
    } else if (failureAtCut(page.failure)) {
        failure.description = {page.failure.description};
        const FindingText cause =
            describeCutWithin(cut_.kind, positions().fromOriginalOffset(cut_.offset));
        failure.description.insert(failure.description.end(), cause.begin(), cause.end());
    }
    report(failure.at, Severity::Error, std::move(failure.description));
}

void PageFindings::skippedLevels(const TiXmlElement& heading, int previous, int number) {
    // Below a page that failed, the gap at the top is that page's missing headings.
    if (previous <= 0 && parentMissing_) return;
    const std::string after =
        previous > 0 ? "h" + std::to_string(previous) + " puis " : "en t\352te de page : ";
    // An h1 leaves a gap only above its page: what is missing is in the
    // pages that enclose it in the list.
    const std::string fix =
        number == 1 ? "donnez un titre avec id \340 la page qui englobe celle-ci dans la liste"
                    : "utilisez h" + std::to_string(std::max(previous, 0) + 1);
    report(at(heading), Severity::Warning,
           {"niveau de titre saut\351 (" + after + "h" + std::to_string(number) +
            ") : l'entr\351e \253 [titre manquant] \273 appara\356tra dans la table des "
            "mati\350res ; " +
            fix});
}

void PageFindings::unplacedPage(const TiXmlElement& heading, int number) {
    report(at(heading), Severity::Warning,
           {"premier titre avec ancre en h" + std::to_string(number) +
            " : la page n'aura pas d'entr\351e propre dans la table des mati\350res, et ses "
            "titres iront sous l'entr\351e qui la pr\351c\350de ; donnez un id \340 son h1 ou "
            "\351crivez <files pageentries=\"yes\">"});
}

void PageFindings::untitledHeading(const TiXmlElement& heading) {
    report(at(heading), Severity::Warning,
           {"titre <", AuthorText{heading.Value()},
            "> sans texte : l'entr\351e \253 [titre manquant] \273 appara\356tra dans la table des "
            "mati\350res ; \351crivez son texte"});
}

void PageFindings::nestedKeyword(const TiXmlElement& element, const char* ixValue) {
    report(at(element), Severity::Warning,
           {"attribut ix=\"", AuthorText{ixValue},
            "\" dans le texte d'un autre mot cl\351 : ignor\351"});
}

void PageFindings::emptyKeyword(const TiXmlElement& element) {
    const char* ix = element.Attribute("ix");
    report(at(element), Severity::Warning,
           {"mot cl\351 vide (ix=\"", AuthorText{ix != nullptr ? ix : ""},
            "\" sur un \351l\351ment sans texte) : il n'entrera pas dans l'index ; \351crivez le "
            "texte de l'\351l\351ment ou le mot cl\351 dans ix"});
}

void PageFindings::deepKeyword(const TiXmlElement& element) {
    report(at(element), Severity::Error,
           {"attribut ix de plus de " + std::to_string(kMaxKeywordLevels) +
            " niveaux : page refus\351e"});
}

// Where a character of a text of length near node is, when the page writes
// it as it is (not as a numeric reference): a little after the node starts.
// The node's own place otherwise.
TextPosition PageFindings::characterAt(const TiXmlBase& node, std::string_view character,
                                       std::size_t length) {
    SourceMap& map = positions();
    const std::size_t start = map.parserOffset(parsedAt(node));
    if (start == std::string_view::npos) return at(node);
    const std::size_t found = map.rewritten().substr(start, length * 2 + 256).find(character);
    return found == std::string_view::npos ? at(node) : map.fromOffset(start + found);
}

void PageFindings::lostAnchorCharacter(const TiXmlElement& element, std::string_view anchor) {
    const LostCharacter lost = firstLostCharacter(anchor);
    if (!lost.found()) return;
    report(characterAt(element, anchor.substr(lost.offset, lost.length), anchor.size()),
           Severity::Warning,
           {"caract\350re " + lost.name + " absent du code page 1252 dans l'ancre \253 ",
            AuthorText{anchor},
            " \273 : les entr\351es qui m\350nent \340 elle ne l'atteindront pas dans le .chm "
            "(les pages HTML l'atteignent)"});
}

void PageFindings::converted(const TiXmlBase& node, std::string_view utf8,
                             const std::string& cp1252, bool title) {
    if (utf8.find('&') != std::string_view::npos) reportUndecodedReferences(node, utf8, title);
    reportLostCharacter(node, utf8, cp1252, title);
}

// "&rarr;" written in a page reaches the trees as those six characters: the
// normalisation knows only the characters of code page 1252 by name. The
// same text written "&amp;rarr;" is meant, and is passed over: each
// reference is looked for in the page as written, from where the node starts.
void PageFindings::reportUndecodedReferences(const TiXmlBase& node, std::string_view utf8,
                                             bool title) {
    SourceMap& map = positions();
    const std::size_t parsed = map.parserOffset(parsedAt(node));
    if (parsed == std::string_view::npos) return;
    const std::string_view original = map.original();
    std::size_t from = map.originalOffset(parsed);
    const std::size_t end = std::min(original.size(), from + 4 * utf8.size() + 256);
    for (std::size_t amp = utf8.find('&'); amp != std::string_view::npos;
         amp = utf8.find('&', amp + 1)) {
        const std::string_view name = referenceName(utf8.substr(amp));
        if (name.empty() || decoded(name)) continue;
        const std::string_view reference = utf8.substr(amp, name.size() + 2);
        const std::size_t found = original.substr(0, end).find(reference, from);
        if (found == std::string_view::npos) continue;
        from = found + reference.size();
        report(map.fromOriginalOffset(found), Severity::Warning,
               {"r\351f\351rence \253 ", AuthorText{reference}, " \273 inconnue dans ",
                textKind(title),
                " : elle s'affichera telle quelle ; \351crivez le caract\350re lui-m\352me"});
    }
}

void PageFindings::reportLostCharacter(const TiXmlBase& node, std::string_view utf8,
                                       const std::string& cp1252, bool title) {
    if (std::count(cp1252.begin(), cp1252.end(), '?') ==
        std::count(utf8.begin(), utf8.end(), '?')) {
        return;
    }
    const LostCharacter lost = firstLostCharacter(utf8);
    if (!lost.found()) return;
    const std::string_view character = utf8.substr(lost.offset, lost.length);
    TextPosition position = characterAt(node, character, utf8.size());
    // In a text node, the character is as many characters after the node's
    // start as it is in the text: written as it is or as a reference.
    SourceMap& map = positions();
    const std::size_t start = map.parserOffset(parsedAt(node));
    if (dynamic_cast<const TiXmlText*>(&node) != nullptr && start != std::string_view::npos) {
        const auto before = static_cast<std::size_t>(
            std::count_if(utf8.begin(), utf8.begin() + lost.offset,
                          [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
        const std::string_view text = map.rewritten();
        const std::size_t at = afterCharacters(text, start, before);
        if (at != std::string_view::npos &&
            (text.compare(at, character.size(), character) == 0 || text[at] == '&')) {
            position = map.fromOffset(at);
        }
    }
    report(position, Severity::Warning,
           {"caract\350re " + lost.name + " absent du code page 1252 dans " + textKind(title) +
            " : il deviendra \253 ? \273 dans le .chm (les pages HTML le gardent)"});
}

void PageFindings::entryAnchored(const TiXmlElement& element, const TiXmlAttribute& anchor) {
    // Every entry after an anchor links to it: the element is told once.
    if (!entryAnchors_.empty() && entryAnchors_.back().anchor == &anchor) return;
    entryAnchors_.push_back({&element, &anchor});
}

// The contents and the index link to the anchor that the outputs' rule
// takes, which may be a name no browser goes to (a <meta name> in the
// head, before any id): such an entry opens its page at the top.
void PageFindings::reportUnreachableAnchors() {
    const std::unordered_set<std::string> reached(facts_.anchors.begin(), facts_.anchors.end());
    for (const auto& [element, anchor] : entryAnchors_) {
        const std::string& value = anchor->ValueStr();
        if (value.empty() || value == kTopOfPageAnchor || reached.count(value) != 0) continue;
        report(at(*element), Severity::Warning,
               {"ancre \253 ", AuthorText{value}, " \273 des entr\351es qui suivent : l'attribut ",
                AuthorText{anchor->NameTStr()}, " de <", AuthorText{element->ValueStr()},
                "> n'est pas une ancre pour un navigateur (seuls id, et name sur <a>, le sont) ; "
                "donnez un id \340 l'\351l\351ment vis\351"});
    }
}

void PageFindings::contextMarked(const TiXmlElement&, const TiXmlAttribute& ctx) {
    const TextPosition where = at(ctx);
    forEachContextName(ctx.ValueStr(), [&](std::string_view name) {
        if (isCIdentifier(name)) {
            contexts_.marked(name, page_.path, where);
            return;
        }
        report(where, Severity::Error,
               {"contexte \253 ", AuthorText{name},
                " \273 : ce n'est pas un identificateur C ; \351crivez des lettres sans accent, "
                "des chiffres et _, sans chiffre en t\352te"});
    });
}

void PageFindings::walked(const PreparedPage& page) {
    const PageMarks marks = gatherFacts(*page.document, facts_);
    reportUnreachableAnchors();
    for (const auto& [again, first] : marks.repeated) {
        report(at(*again), Severity::Warning,
               {"ancre \253 ", AuthorText{again->ValueStr()},
                " \273 d\351j\340 d\351finie en " + lineAndColumn(at(*first)) +
                    " : les liens vers elle m\350nent \340 la premi\350re"});
    }
    if (marks.bare.empty()) return;
    const BareHeading& first = marks.bare.front();
    const std::string_view heading = first.heading->ValueStr();
    FindingText message{
        "titre <",
        AuthorText{heading},
        "> marqu\351 par <a ",
        AuthorText{first.anchor->Name()},
        "=\"",
        AuthorText{first.anchor->ValueStr()},
        "\"> seulement : il n'entrera pas dans la table des mati\350res ; \351crivez <",
        AuthorText{heading},
        " id=\"",
        AuthorText{first.anchor->ValueStr()},
        "\">"};
    if (marks.bare.size() > 1) {
        const std::size_t others = marks.bare.size() - 1;
        message.push_back(" (de m\352me pour " + std::to_string(others) +
                          (others > 1 ? " autres titres" : " autre titre") + " de la page)");
    }
    report(at(*first.heading), Severity::Warning, std::move(message));
}

}  // namespace qv
