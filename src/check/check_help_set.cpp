// The check of a help set, in order: the list file's path, the reading of a
// run with the check's notes (the headers of the contexts read with the
// list), the templates prepared as a run prepares them, then what only
// shows across pages (links, the contexts' defines, an empty contents or
// index).

#include "check/check_help_set.h"

#include "check/check_findings.h"
#include "chm/collect_files.h"
#include "helpset/read_help_set.h"
#include "io/messages.h"
#include "io/text_loading.h"
#include "output/templates.h"
#include "xml/text_positions.h"

namespace qv {

namespace {

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
        {listPath,
         {},
         Severity::Warning,
         {std::string(absolute ? "chemin de liste absolu" : "chemin de liste avec \253 .. \273") +
          " : il pr\351c\351dera le nom de chaque page dans le projet et le sommaire ;"
          " lancez quorvane depuis un dossier au-dessus de la liste, avec un chemin relatif"}});
}

// A template prepared as a run prepares it before writing its page: what is
// wrong in it is reported there, at its substitution point when it has one;
// what is wrong with its name or file, at its entry in the list.
void checkTemplate(const HelpProject& project, const FileReader& reader, const ListFindings& list,
                   const std::string& name, FindingSink& findings) {
    const std::string path = project.listDirectory + name;
    TemplateParts parts;
    TemplateProblem problem;
    const int status = prepareTemplate(reader, path, parts, problem);
    if (status == 0) return;
    FindingText message{"mod\350le \253 ", AuthorText{name}, " \273 refus\351 : "};
    if (problem.kind == TemplateProblem::Kind::None) {
        const FindingText why = describeLoadFailure(status);
        message.insert(message.end(), why.begin(), why.end());
    } else if (problem.offset == std::string::npos) {
        message.push_back(describeTemplateProblem(problem.kind));
    } else {
        std::string text;
        TextPosition at{1, 1};
        if (loadTextFile(reader, path, text) == 0) at = LineIndex(text).position(problem.offset);
        findings.report({path,
                         at,
                         Severity::Error,
                         {"mod\350le refus\351 : ", describeTemplateProblem(problem.kind)}});
        return;
    }
    findings.report({list.path(), list.templateEntry(name), Severity::Error, std::move(message)});
}

// A help set that would give an empty contents or index. Errors explain an
// empty set by themselves.
void checkEmptyHelpSet(const HelpProject& project, const ListFindings& list,
                       FindingSink& findings) {
    const auto warn = [&](const char* message) {
        findings.report({list.path(), list.root(), Severity::Warning, {message}});
    };
    if (project.pages.empty()) {
        warn("la liste ne nomme aucune page (<file name=\"...\"/>)");
        return;
    }
    if (project.contentsRoot.children.empty()) {
        warn("sommaire vide : aucun titre h1 \340 h6 des pages n'a d'attribut id ou name");
    }
    if (project.indexRoot.children.empty()) {
        warn("index vide : aucun \351l\351ment des pages n'a d'attribut ix");
    }
}

// What the compiled help would miss: files outside the list's folder tree,
// names it cannot hold, and files style sheets reference that do not exist
// (the links of the pages are checked with the pages).
void checkCompiledHelp(const HelpProject& project, const FileReader& reader,
                       const std::string& listFile, FindingSink& findings) {
    for (const CollectionProblem& problem : collectFiles(project, reader).problems) {
        const std::string path =
            problem.referencedBy.empty() ? listFile : project.listDirectory + problem.referencedBy;
        const AuthorText file{problem.file};
        switch (problem.kind) {
            case CollectionProblem::Outside:
                findings.report(
                    {path,
                     {},
                     Severity::Warning,
                     {"\253 ", file,
                      " \273 hors du dossier de la liste : absent de l'aide compil\351e"}});
                break;
            case CollectionProblem::BadName:
                findings.report(
                    {path,
                     {},
                     Severity::Warning,
                     {"\253 ", file,
                      " \273 : nom que l'aide compil\351e ne peut pas contenir (trop long, "
                      "r\351serv\351 au format, ou d\351j\340 pris \340 la casse pr\350s)"}});
                break;
            case CollectionProblem::Missing:
                if (problem.referencedBy.size() >= 4 &&
                    problem.referencedBy.compare(problem.referencedBy.size() - 4, 4, ".css") == 0) {
                    findings.report(
                        {path, {}, Severity::Warning, {"url(", file, ") : fichier introuvable"}});
                }
                break;
        }
    }
}

}  // namespace

int runCheck(const ListPath& listPath, const std::string& argument, unsigned jobs,
             bool compiledHelp) {
    return checkHelpSet(
        DiskFileReader(), listPath, argument,
        [](const std::vector<MessagePiece>& line) { printMessage(line); }, jobs, compiledHelp);
}

int checkHelpSet(const FileReader& reader, const ListPath& listPath, const std::string& argument,
                 const ReportWriter& writeLine, unsigned jobs, bool compiledHelp) {
    HelpProject project;
    project.listDirectory = listPath.directory;
    project.listDirectoryUrl = listPath.directoryUrl;
    const std::string listFile = project.listDirectory + listPath.fileName;
    FindingReport findings(listFile);
    checkListArgument(argument, listFile, findings);
    HelpSetFindings notes(project, reader, findings);
    readHelpSet(project, reader, listPath.fileName, notes, jobs);
    if (notes.listRead()) {
        for (const auto* names : {&project.contentsTemplates, &project.indexTemplates}) {
            for (const std::string& name : *names) {
                checkTemplate(project, reader, notes.list(), name, findings);
            }
        }
        notes.finish();
        if (findings.errors() == 0) checkEmptyHelpSet(project, notes.list(), findings);
        if (compiledHelp) checkCompiledHelp(project, reader, listFile, findings);
    }
    findings.write(notes.pagesRead(), writeLine);
    if (findings.errors() > 0) return 2;
    return findings.warnings() > 0 ? 1 : 0;
}

}  // namespace qv
