// A run, in order: the reading of the list and its pages into the two trees,
// the help compiler's files, the contexts' numbers, then the templates' pages
// (and the compiled help when asked). The first failure ends it; the files
// already written stay.

#include "run/run_help_set.h"

#include "helpset/context_headers.h"
#include "helpset/read_help_set.h"
#include "io/messages.h"
#include "model/help_project.h"
#include "output/contents_file.h"
#include "output/index_file.h"
#include "output/index_sort.h"
#include "output/project_file.h"
#include "output/templates.h"
#include "platform/threads.h"
#include "run/compiled_help_step.h"
#include "run/run_messages.h"

namespace qv {

namespace {

// The project, contents and index files, after the index is sorted once for
// every writer. With threads to spare the index is sorted beside the project
// and contents files, which do not read it.
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

// The templates' pages: every contents template, then every index template.
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

// The numbers of the contexts, from the headers the list names, for the
// templates' context maps and the compiled help. The first header that
// cannot be loaded ends the run.
int readContextNumbers(HelpProject& project, const FileReader& reader, RunMessages& messages) {
    std::vector<ContextHeader> headers;
    for (const std::string& name : project.contexts.headers) {
        messages.loading(project.listDirectory + name);
        headers.push_back(readContextHeader(project, reader, name));
        if (headers.back().status != 0) return headers.back().status;
    }
    takeContextNumbers(headers, project.contexts);
    return 0;
}

}  // namespace

int runHelpSet(const ListPath& listPath, const std::string& baseName,
               const std::string& compiledFile, unsigned jobs, bool compile) {
    const DiskFileReader reader;
    HelpProject project;
    project.listDirectory = listPath.directory;
    project.listDirectoryUrl = listPath.directoryUrl;
    RunMessages messages;
    int status = readHelpSet(project, reader, listPath.fileName, messages, jobs);
    if (status == 0) status = writeHelpFiles(project, baseName, compiledFile, jobs);
    if (status == 0) status = readContextNumbers(project, reader, messages);
    if (status == 0) status = expandTemplates(project, reader);
    if (status == 0 && compile) {
        status = writeCompiledHelp(project, reader, listPath.directory + listPath.fileName,
                                   baseName, compiledFile, jobs);
    }
    if (status != 0) printStatusMessage(status);
    return status;
}

}  // namespace qv
