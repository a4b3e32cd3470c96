#include "driver/run.h"

#include <algorithm>
#include <cstring>

#include <build_stamp.h>

#include <string_view>

#include "driver/check.h"
#include "driver/compiled_help_step.h"
#include "driver/read_help_set.h"
#include "driver/run_notes.h"
#include "io/messages.h"
#include "model/help_project.h"
#include "model/status.h"
#include "output/contents_file.h"
#include "output/index_file.h"
#include "output/index_sort.h"
#include "output/project_file.h"
#include "output/templates.h"
#include "platform/console.h"
#include "platform/file_system.h"
#include "platform/large_stack.h"
#include "platform/threads.h"

namespace qv {

namespace {

void printUsage() {
    printMessage({"Usage  : quorvane <fichier liste> <base nom Hhw> [<fichier sortie>]"});
    printMessage({"    o\371 :"});
    printMessage(
        {"  <fichier liste> est un fichier XML contenant la liste des fichiers \340 traiter ;"});
    printMessage(
        {"  <base nom Hhw> est le nom de base des fichiers destin\351s \340 HTML Help Workshop ;"});
    printMessage({""});
    printMessage(
        {"  <fichier sortie> est chemin optionnel complet du fichier .CHM de sortie \340 "
         "compiler"});
    printMessage({"    (par d\351faut d\351termin\351 \340 partir de <base nom Hhw>)."});
    printMessage({""});
    printMessage(
        {"Logiciel d'analyse d'une s\351rie de fichiers HTML en vue de produire des tables"});
    printMessage(
        {" de contenu et des fichiers d'index, soit en HTML, soit sous forme de fichiers"});
    printMessage(
        {" de projet pour g\351n\351rer des documents .chm \340 l'aide de HTML Help Workshop."});
}

// Phases 2 to 4: the three help compiler files, after the index is sorted
// once for every writer. With threads to spare the index is sorted beside
// the project and contents files, which do not read it.
int writeHelpFiles(HelpProject& project, const std::string& baseName,
                   const std::string& compiledFile, unsigned jobs) {
    LargeStackThread sorting;
    if (jobs < 2 || !sorting.start([&project] { sortIndex(project.indexRoot); })) {
        sortIndex(project.indexRoot);
    }
    int status = writeProjectFile(project, baseName, compiledFile);
    if (status == 0) status = writeContentsFile(project, baseName);
    sorting.join();
    if (status == 0) status = writeIndexFile(project, baseName);
    return status;
}

// Phases 5 and 6: every contents template, then every index template.
int expandTemplates(const HelpProject& project, const FileReader& reader) {
    for (const std::string& name : project.contentsTemplates) {
        const std::string path = project.listDirectory + name;
        if (int status = expandContentsTemplate(project, reader, path)) return status;
    }
    for (const std::string& name : project.indexTemplates) {
        const std::string path = project.listDirectory + name;
        if (int status = expandIndexTemplate(project, reader, path)) return status;
    }
    return 0;
}

int runPhases(const ListPath& listPath, const std::string& baseName,
              const std::string& compiledFile, unsigned jobs, bool compile) {
    const DiskFileReader reader;
    HelpProject project;
    project.listDirectory = listPath.directory;
    project.listDirectoryUrl = listPath.directoryUrl;
    RunNotes notes;
    int status = readHelpSet(project, reader, listPath.fileName, notes, jobs);
    if (status == 0) status = writeHelpFiles(project, baseName, compiledFile, jobs);
    if (status == 0) status = expandTemplates(project, reader);
    if (status == 0 && compile) {
        status = writeCompiledHelp(project, reader, listPath.directory + listPath.fileName,
                                   baseName, compiledFile, jobs);
    }
    if (status != 0) printStatusMessage(status);
    return status;
}

}  // namespace

ListPath splitListPath(const std::string& argument) {
    ListPath split;
    std::string path = argument;
    if (path.compare(0, 2, ".\\") == 0 || path.compare(0, 2, "./") == 0) path.erase(0, 2);
    std::size_t separator = path.find_last_of("\\/");
    if (separator != std::string::npos) {
        split.directory = path.substr(0, separator + 1);
        path.erase(0, separator + 1);
    }
    split.directoryUrl = split.directory;
    for (char& c : split.directoryUrl) {
        if (c == '\\') c = '/';
    }
    split.fileName = path;
    return split;
}

namespace {

// A -j value: a decimal number from 1 to kMaxJobs, digits only.
bool parseJobs(std::string_view text, unsigned& jobs) {
    if (text.empty() || text.size() > 3) return false;
    unsigned value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value < 1 || value > kMaxJobs) return false;
    jobs = value;
    return true;
}

}  // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    int i = 1;
    for (; i < argc && line.understood; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--check" && !line.check) {
            line.check = true;
        } else if (argument == "--chm" && !line.chm) {
            line.chm = true;
        } else if (argument == "-j") {
            line.understood = i + 1 < argc && parseJobs(argv[i + 1], line.jobs);
            ++i;
        } else if (argument.substr(0, 2) == "-j") {
            line.understood = parseJobs(argument.substr(2), line.jobs);
        } else {
            break;
        }
    }
    for (; i < argc; ++i) line.arguments.emplace_back(argv[i]);
    return line;
}

int exitStatusFor(int status) {
    int low = status & 0xFF;
    return (status != 0 && low == 0) ? 1 : low;
}

namespace {

// The usage of "quorvane --check" given without its list file.
void printCheckUsage() {
    printMessage({"Usage  : quorvane --check <fichier liste>"});
    printMessage(
        {"  v\351rifie l'aide d\351crite par <fichier liste> sans rien \351crire et signale"});
    printMessage({"  chaque probl\350me avec son fichier, sa ligne et sa colonne."});
    printMessage({"  quorvane --help d\351crit les autres usages."});
}

void printOptions() {
    printMessage({""});
    printMessage({"Options :"});
    printMessage(
        {"  --check <fichier liste>  v\351rifie l'aide sans rien \351crire et signale chaque"});
    printMessage(
        {"                           probl\350me avec son fichier, sa ligne et sa colonne"});
    printMessage(
        {"  -j <n>                   avant <fichier liste> : lit et analyse les pages sur"});
    printMessage(
        {"                           <n> fils d'ex\351cution, de 1 \340 256 (par d\351faut, un"});
    printMessage({"                           par processeur disponible)"});
    printMessage(
        {"  --chm                    avant <fichier liste> : \351crit aussi l'aide compil\351e"});
    printMessage(
        {"                           (.chm) au chemin que donne <fichier sortie>, avec les"});
    printMessage({"                           pages et les fichiers qu'elles r\351f\351rencent"});
    printMessage({"  --help                   affiche cette aide"});
    printMessage({"  --version                affiche la version"});
}

}  // namespace

int runQuorvane(int argc, const char* const* argv) {
    prepareConsole();
    const CommandLine line = parseCommandLine(argc, argv);
    prepareMessages(line.check ? Utf8Messages::InUtf8Locale : Utf8Messages::OnUtf8Terminal);
    removeTemporaryFilesOnSignal();
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        printUsage();
        printOptions();
        return kStatusOk;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        printMessage({"quorvane " QUORVANE_VERSION});
        printMessage({"Quorvane - compiled on " QUORVANE_BUILD_STAMP});
        return kStatusOk;
    }
    const std::vector<std::string>& arguments = line.arguments;
    const bool counted =
        line.check ? arguments.size() == 1 : arguments.size() == 2 || arguments.size() == 3;
    if (line.check && line.understood && !counted) {
        printCheckUsage();
        return kStatusUsage;
    }
    if (!line.understood || !counted) {
        printUsage();
        return kStatusUsage;
    }
    const unsigned jobs = line.jobs != 0 ? line.jobs : std::min(processorsAvailable(), kMaxJobs);
    // Deeply nested pages and lists make the parser and the tree walks recurse
    // deeply: the run goes on a thread with room for that (and so does each
    // thread that reads pages ahead of it).
    if (line.check) {
        const std::string& argument = arguments[0];
        return runWithLargeStack([&] { return runCheck(splitListPath(argument), argument, jobs); });
    }
    printMessage({"Quorvane - compiled on " QUORVANE_BUILD_STAMP});
    printMessage({""});

    const ListPath listPath = splitListPath(arguments[0]);
    const std::string& baseName = arguments[1];
    const std::string compiledFile = arguments.size() == 3 ? arguments[2] : baseName + ".chm";
    return runWithLargeStack(
        [&] { return runPhases(listPath, baseName, compiledFile, jobs, line.chm); });
}

}  // namespace qv
