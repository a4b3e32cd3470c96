// The check of a help set: the reading of a run with a check attached, the
// templates prepared as a run prepares them, then what only shows across
// pages (links, anchors, an empty contents or index).

#include "driver/check.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "driver/read_help_set.h"
#include "io/messages.h"
#include "io/text_loading.h"
#include "model/status.h"
#include "output/templates.h"
#include "platform/system_messages.h"
#include "text/cp1252.h"
#include "text/links.h"
#include "text/tidy_text.h"
#include "xml/text_positions.h"

namespace qv {

namespace {

std::string plural(std::size_t count, const char* word, const char* ending = "s") {
    return std::to_string(count) + " " + word + (count > 1 ? ending : "");
}

// Why a file could not be loaded, as a message says it.
std::string loadFailure(int status) {
    if (status == kStatusEmptyFile) return "fichier vide";
    std::string text = systemMessageText(status);
    tidyText(text);
    return text;
}

// Collects the findings: each once, then printed grouped by file (the list
// file first, the others in the order they were first reported), in line
// and column order.
class FindingReport : public FindingSink {
public:
    explicit FindingReport(const std::string& listPath) { rank(listPath); }

    void report(Finding finding) override {
        std::string key = finding.path + '\0' + std::to_string(finding.line) + ':' +
                          std::to_string(finding.column) +
                          (finding.severity == Severity::Error ? 'E' : 'W') + finding.message;
        if (!seen_.insert(std::move(key)).second) return;
        ++(finding.severity == Severity::Error ? errors_ : warnings_);
        rank(finding.path);
        findings_.push_back(std::move(finding));
    }

    std::size_t errors() const { return errors_; }
    std::size_t warnings() const { return warnings_; }

    void print(std::size_t pagesRead) {
        std::stable_sort(findings_.begin(), findings_.end(),
                         [&](const Finding& a, const Finding& b) {
                             const std::size_t rankA = ranks_[a.path];
                             const std::size_t rankB = ranks_[b.path];
                             if (rankA != rankB) return rankA < rankB;
                             if (a.line != b.line) return a.line < b.line;
                             return a.column < b.column;
                         });
        for (const Finding& finding : findings_) {
            std::string path = finding.path;
            std::replace(path.begin(), path.end(), '\\', '/');
            const std::string position =
                finding.line > 0 ? ":" + rowAndColumn({finding.line, finding.column}) : "";
            printMessage({Verbatim{path}, position, ": ",
                          finding.severity == Severity::Error ? "erreur" : "avertissement", ": ",
                          finding.message});
        }
        printMessage({"V\351rification termin\351e : ", plural(errors_, "erreur"), ", ",
                      plural(warnings_, "avertissement"), ", ", plural(pagesRead, "page"),
                      pagesRead > 1 ? " lues." : " lue."});
    }

private:
    void rank(const std::string& path) { ranks_.emplace(path, ranks_.size()); }

    std::vector<Finding> findings_;
    std::unordered_set<std::string> seen_;
    std::unordered_map<std::string, std::size_t> ranks_;
    std::size_t errors_ = 0;
    std::size_t warnings_ = 0;
};

// The warning for a file that was not UTF-8 and was read through another
// encoding; empty for UTF-8.
std::string inputDecodingMessage(const InputDecoding& decoding) {
    const std::string fix = " ; enregistrez-le en UTF-8";
    switch (decoding.encoding) {
        case InputEncoding::Utf8:
            return "";
        case InputEncoding::Utf16:
            return "fichier en UTF-16, lu apr\350s conversion" + fix;
        case InputEncoding::Declared:
            return "fichier en \253 " + decoding.declaredName +
                   " \273 (son encodage d\351clar\351), lu apr\350s conversion" + fix;
        case InputEncoding::Cp1252Fallback:
            return "fichier qui n'est pas en UTF-8, lu comme du windows-1252" +
                   (decoding.declaredName.empty()
                        ? std::string()
                        : " (encodage d\351clar\351 \253 " + decoding.declaredName +
                              " \273 ne convient pas)") +
                   fix;
    }
    return "";
}

// A page of the help set, by its helpSetPath.
struct PageRecord {
    TextPosition entry{0, 0};  // its first entry in the list
    bool loaded = false;
    bool parsed = false;
    std::unordered_set<std::string> anchors;
};

// A link to an anchor of a page further down the list, checked at the end.
struct PendingLink {
    std::string path;  // of the page the link is in
    TextPosition where;
    std::string value;
    std::string target;  // helpSetPath of the page
    std::string fragment;
};

class HelpSetChecker : public HelpSetCheck {
public:
    HelpSetChecker(const HelpProject& project, const FileReader& reader, FindingReport& findings)
        : project_(project), reader_(reader), findings_(findings) {}

    std::size_t pagesRead() const { return pagesRead_; }

    ListFileCheck& listLoaded(const std::string& path, const std::string& text) override {
        list_.emplace(findings_, path, text);
        return *list_;
    }

    void listNotLoaded(const std::string& path, int status) override {
        findings_.report({path, 0, 0, Severity::Error, loadFailure(status)});
    }

    PageFacts& pageLoaded(const std::string& name) override {
        enterPage(name);
        if (!current_->loaded) ++pagesRead_;
        facts_.emplace(findings_);
        return *facts_;
    }

    void pageAnalysed(const std::string& name, int) override {
        PageRecord& page = *current_;
        if (!page.loaded) {
            page.loaded = true;
            page.parsed = facts_->parsed;
            page.anchors.insert(facts_->anchors.begin(), facts_->anchors.end());
            // Links are followed once, at the page's first entry: a page listed
            // again is read again, and finds the same.
            for (const PageLink& link : facts_->links) follow(name, link);
        }
        facts_.reset();
    }

    void pageNotLoaded(const std::string& name, int status) override {
        enterPage(name);
        findings_.report({list_->path(), list_->current().row, list_->current().column,
                          Severity::Error,
                          "page \253 " + utf8ToCp1252(name) + " \273 : " + loadFailure(status)});
    }

    void inputDecoded(const std::string& path, const InputDecoding& decoding) override {
        const std::string message = inputDecodingMessage(decoding);
        if (!message.empty()) findings_.report({path, 0, 0, Severity::Warning, message});
    }

    // Every template, prepared as a run prepares it before writing its page.
    void checkTemplates() {
        for (const auto* names : {&project_.contentsTemplates, &project_.indexTemplates}) {
            for (const std::string& name : *names) checkTemplate(name);
        }
    }

    // What only shows once every page is read.
    void finish() {
        for (const PendingLink& link : pending_) {
            auto page = pages_.find(link.target);
            if (page != pages_.end() && page->second.parsed &&
                page->second.anchors.count(link.fragment) == 0) {
                missingAnchor(link);
            }
        }
        // An empty help set has a cause already reported when there are errors.
        if (!list_ || findings_.errors() > 0) return;
        const TextPosition root = list_->root();
        if (project_.pages.empty()) {
            report(list_->path(), root, Severity::Warning,
                   "la liste ne nomme aucune page (<file name=\"...\"/>)");
            return;
        }
        if (project_.contentsRoot.children.empty()) {
            report(list_->path(), root, Severity::Warning,
                   "sommaire vide : aucun titre h1 \340 h6 des pages n'a d'attribut id ou name");
        }
        if (project_.indexRoot.children.empty()) {
            report(list_->path(), root, Severity::Warning,
                   "index vide : aucun \351l\351ment des pages n'a d'attribut ix");
        }
    }

private:
    void report(const std::string& path, TextPosition at, Severity severity, std::string message) {
        findings_.report({path, at.row, at.column, severity, std::move(message)});
    }

    // Each entry of the list that names a page; a page named again is reported.
    void enterPage(const std::string& name) {
        auto [page, added] = pages_.try_emplace(helpSetPath(name));
        current_ = &page->second;
        if (added) {
            current_->entry = list_->current();
        } else {
            report(list_->path(), list_->current(), Severity::Warning,
                   "page \253 " + utf8ToCp1252(name) + " \273 d\351j\340 list\351e en " +
                       rowAndColumn(current_->entry) + " : elle figurera deux fois dans le projet");
        }
    }

    void follow(const std::string& pageName, const PageLink& link) {
        const LinkTarget target = followLink(pageName, link.value);
        if (!target.local) return;
        const bool anchored = target.hasFragment && !target.fragment.empty();
        const std::string pagePath = project_.listDirectory + pageName;
        if (target.file.empty()) {
            if (anchored && current_->anchors.count(target.fragment) == 0) {
                missingAnchor({pagePath, position(link), link.value, {}, target.fragment});
            }
            return;
        }
        if (list_->listsPage(target.file)) {
            // A page of the set: a missing one is reported at its entry.
            if (!anchored) return;
            auto page = pages_.find(target.file);
            if (page == pages_.end()) {
                pending_.push_back(
                    {pagePath, position(link), link.value, target.file, target.fragment});
            } else if (page->second.parsed && page->second.anchors.count(target.fragment) == 0) {
                missingAnchor({pagePath, position(link), link.value, target.file, target.fragment});
            }
            return;
        }
        auto [known, added] = exists_.try_emplace(target.file, false);
        if (added) known->second = reader_.exists(project_.listDirectory + target.file);
        if (!known->second) {
            report(pagePath, position(link), Severity::Warning,
                   "lien \253 " + utf8ToCp1252(link.value) + " \273 : fichier introuvable");
        }
    }

    TextPosition position(const PageLink& link) {
        return facts_->positions->fromParser(link.row, link.column);
    }

    void missingAnchor(const PendingLink& link) {
        const std::string in = link.target.empty() ? "cette page" : utf8ToCp1252(link.target);
        report(link.path, link.where, Severity::Warning,
               "lien \253 " + utf8ToCp1252(link.value) + " \273 : ancre \253 " +
                   utf8ToCp1252(link.fragment) + " \273 absente de " + in);
    }

    void checkTemplate(const std::string& name) {
        const std::string path = project_.listDirectory + name;
        const TextPosition entry = list_->templateEntry(name);
        TemplateParts parts;
        MessageCapture messages;
        const int status = prepareTemplate(reader_, path, parts);
        if (status == 0) return;
        const std::string refused = "mod\350le \253 " + utf8ToCp1252(name) + " \273 refus\351 : ";
        if (status != kStatusBadTemplate) {
            report(list_->path(), entry, Severity::Error, refused + loadFailure(status));
            return;
        }
        const std::string reason = messages.lines().empty() ? "" : messages.lines().back();
        if (path.find(".tpl") == std::string::npos) {  // as prepareTemplate looks for it
            report(list_->path(), entry, Severity::Error, refused + reason);
            return;
        }
        // What is wrong is in the template: at its substitution point when it has one.
        std::string text;
        TextPosition at{1, 1};
        if (loadTextFile(reader_, path, text) == 0) {
            const std::size_t point = text.find("<!-- <template ");
            if (point != std::string::npos) at = LineIndex(text).position(point);
        }
        report(path, at, Severity::Error, "mod\350le refus\351 : " + reason);
    }

    const HelpProject& project_;
    const FileReader& reader_;
    FindingReport& findings_;
    std::optional<ListFileCheck> list_;
    std::optional<PageFacts> facts_;
    std::unordered_map<std::string, PageRecord> pages_;
    PageRecord* current_ = nullptr;
    std::unordered_map<std::string, bool> exists_;
    std::vector<PendingLink> pending_;
    std::size_t pagesRead_ = 0;
};

// A list file given by an absolute path or through "..": its directory is
// written before every page in the project and the contents.
void checkListArgument(const std::string& argument, const std::string& listPath,
                       FindingSink& findings) {
    const bool absolute = !argument.empty() && (argument[0] == '/' || argument[0] == '\\' ||
                                                (argument.size() > 1 && argument[1] == ':'));
    bool climbs = false;
    for (std::size_t start = 0; start <= argument.size();) {
        std::size_t end = argument.find_first_of("\\/", start);
        if (end == std::string::npos) end = argument.size();
        climbs = climbs || argument.compare(start, end - start, "..") == 0;
        start = end + 1;
    }
    if (!absolute && !climbs) return;
    findings.report(
        {listPath, 0, 0, Severity::Warning,
         std::string(absolute ? "chemin de liste absolu" : "chemin de liste avec \253 .. \273") +
             " : il pr\351c\351dera le nom de chaque page dans le projet et le sommaire ;"
             " lancez quorvane depuis un dossier au-dessus de la liste, avec un chemin relatif"});
}

}  // namespace

int runCheck(const ListPath& listPath, const std::string& argument, unsigned jobs) {
    return checkHelpSet(DiskFileReader(), listPath, argument, jobs);
}

int checkHelpSet(const FileReader& reader, const ListPath& listPath, const std::string& argument,
                 unsigned jobs) {
    HelpProject project;
    project.listDirectory = listPath.directory;
    project.listDirectoryUrl = listPath.directoryUrl;
    FindingReport findings(project.listDirectory + listPath.fileName);
    checkListArgument(argument, project.listDirectory + listPath.fileName, findings);
    HelpSetChecker checker(project, reader, findings);
    {
        // The reading announces every file it loads: not part of a check.
        MessageCapture quiet(MessageCapture::Keep::Nothing);
        readHelpSet(project, reader, listPath.fileName, &checker, jobs);
        checker.checkTemplates();
        checker.finish();
    }
    findings.print(checker.pagesRead());
    if (findings.errors() > 0) return 2;
    return findings.warnings() > 0 ? 1 : 0;
}

}  // namespace qv
