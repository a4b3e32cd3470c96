#include "check/context_findings.h"

#include <algorithm>

#include "check/check_findings.h"

namespace qv {

namespace {

// "line:column" of there when it is in the file at herePath, otherwise
// "path:line:column", the path written as the report writes it.
FindingText placeText(const std::string& herePath, const std::string& therePath,
                      TextPosition there) {
    if (therePath == herePath) return {lineAndColumn(there)};
    std::string path = therePath;
    std::replace(path.begin(), path.end(), '\\', '/');
    return {AuthorText{path}, ":" + lineAndColumn(there)};
}

void append(FindingText& message, const FindingText& more) {
    message.insert(message.end(), more.begin(), more.end());
}

// Where a define's name is: only blanks, "#" and "define" come before it on
// its line, so its column in bytes is its column in characters.
TextPosition nameAt(const CDefine& define) {
    return {static_cast<int>(define.line), static_cast<int>(define.column)};
}

}  // namespace

void ContextFindings::report(const Place& place, Severity severity, FindingText message) {
    findings_.report({place.path, place.at, severity, std::move(message)});
}

void ContextFindings::headerListed(const std::string& listPath, const std::string& name,
                                   TextPosition where) {
    headerNamed_ = true;
    for (const ContextHeader& header : headers_) {
        if (header.name == name) return;
    }
    ContextHeader header = readContextHeader(project_, reader_, name);
    const Place entry{listPath, where};
    if (header.status != 0) {
        headerFailed_ = true;
        FindingText message{"en-t\352te \253 ", AuthorText{name}, " \273 : "};
        append(message, describeLoadFailure(header.status));
        report(entry, Severity::Error, std::move(message));
        return;
    }
    if (header.defines.empty()) {
        report(entry, Severity::Warning,
               {"en-t\352te \253 ", AuthorText{name},
                " \273 sans aucune ligne \253 #define NOM nombre \273 : il ne num\351rote aucun "
                "contexte"});
    }
    for (const CDefine& define : header.defines) {
        defined_.try_emplace(define.name, Defined{{header.path, nameAt(define)}, define.value});
    }
    headers_.push_back(std::move(header));
}

void ContextFindings::marked(std::string_view name, const std::string& path, TextPosition where) {
    const Place here{path, where};
    const auto [first, isFirst] = marks_.try_emplace(std::string(name), here);
    const AuthorText context{name};
    if (!isFirst) {
        // A page listed again is walked again: its marks are the same ones.
        if (first->second.path == path && first->second.at.line == where.line &&
            first->second.at.column == where.column) {
            return;
        }
        FindingText message{"contexte \253 ", context, " \273 d\351j\340 marqu\351 en "};
        append(message, placeText(path, first->second.path, first->second.at));
        message.push_back(
            " : un contexte m\350ne \340 un seul endroit ; retirez l'une des marques");
        report(here, Severity::Error, std::move(message));
        return;
    }
    const auto found = defined_.find(first->first);
    if (found != defined_.end()) {
        found->second.marked = true;
    } else if (!headerFailed_) {
        report(here, Severity::Error,
               {"contexte \253 ", context, " \273 sans num\351ro : ",
                headerNamed_ ? "aucun en-t\352te de la liste ne le d\351finit"
                             : "la liste ne nomme aucun en-t\352te (<map name=\"...\"/>)",
                " ; l'application ne pourra pas ouvrir cette aide"});
    }
}

// A name given a second number, or a number given a second name: the
// application and its help would not agree on which topic a number opens.
void ContextFindings::checkDefine(const Place& here, const CDefine& define,
                                  std::unordered_map<std::uint32_t, Numbered>& numbered) {
    const AuthorText name{define.name};
    const Defined& first = defined_.at(define.name);
    const bool isFirst = first.first.path == here.path && first.first.at.line == here.at.line;
    if (!isFirst) {
        if (first.value == define.value) return;
        FindingText message{"contexte \253 ", name, " \273 d\351j\340 d\351fini en "};
        append(message, placeText(here.path, first.first.path, first.first.at));
        message.push_back(" avec le num\351ro " + std::to_string(first.value) +
                          " : gardez un seul num\351ro");
        report(here, Severity::Error, std::move(message));
        return;
    }
    const auto [owner, numberFree] =
        numbered.try_emplace(define.value, Numbered{here, define.name});
    if (!first.marked) {
        report(here, Severity::Warning,
               {"contexte \253 ", name,
                " \273 qu'aucune page ne marque : l'application n'aura pas d'aide pour lui ; "
                "\351crivez ctx=\"",
                name, "\" sur l'\351l\351ment \340 montrer"});
    }
    if (numberFree) return;
    FindingText message{
        "contexte \253 ", name,
        " \273 : num\351ro " + std::to_string(define.value) + " d\351j\340 donn\351 \340 \253 ",
        AuthorText{owner->second.name}, " \273 en "};
    append(message, placeText(here.path, owner->second.first.path, owner->second.first.at));
    message.push_back(" ; l'aide ne saura pas lequel ouvrir");
    report(here, Severity::Error, std::move(message));
}

void ContextFindings::finish() {
    std::unordered_map<std::uint32_t, Numbered> numbered;
    for (const ContextHeader& header : headers_) {
        for (const CDefine& define : header.defines) {
            checkDefine({header.path, nameAt(define)}, define, numbered);
        }
    }
}

}  // namespace qv
