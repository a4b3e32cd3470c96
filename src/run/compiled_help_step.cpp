#include "run/compiled_help_step.h"

#include "chm/compiled_help.h"
#include "io/messages.h"
#include "platform/file_system.h"
#include "platform/source_time.h"

namespace qv {

namespace {

// SOURCE_DATE_EPOCH, else the newest of the list file and the pages: the
// same inputs give the same bytes.
std::int64_t recordedTime(const HelpProject& project, const std::string& listFile) {
    std::int64_t newest = 0;
    if (sourceDateEpoch(newest)) return newest;
    modificationTime(listFile, newest);
    for (const std::string& page : project.pages) {
        std::int64_t time = 0;
        if (modificationTime(project.listDirectory + page, time) && time > newest) newest = time;
    }
    return newest;
}

void report(const CollectionProblem& problem, const std::string& listDirectory,
            const std::string& listFile) {
    const std::string file = listDirectory + problem.file;
    const std::string by =
        problem.referencedBy.empty() ? listFile : listDirectory + problem.referencedBy;
    switch (problem.kind) {
        case CollectionProblem::Missing:
            printMessage({"Fichier \"", Verbatim{file}, "\" introuvable (r\351f\351renc\351 par \"",
                          Verbatim{by}, "\")"});
            break;
        case CollectionProblem::Outside:
            printMessage(
                {"Attention : \"", Verbatim{file}, "\" (r\351f\351renc\351 par \"", Verbatim{by},
                 "\") est hors du dossier de la liste et n'est pas mis dans l'aide compil\351e"});
            break;
        case CollectionProblem::BadName:
            printMessage({"Le nom \"", Verbatim{file},
                          "\" ne peut pas entrer dans l'aide compil\351e (trop long, r\351serv\351 "
                          "au format, ou d\351j\340 "
                          "pris \340 la casse pr\350s)"});
            break;
    }
}

int writeBytes(const std::string& path, const std::string& bytes) {
    AtomicFile out;
    if (int status = out.open(path)) return status;
    if (int status = out.write(bytes.data(), bytes.size())) {
        out.abandon();
        return status;
    }
    return out.commit();
}

}  // namespace

int writeCompiledHelp(const HelpProject& project, const FileReader& reader,
                      const std::string& listFile, const std::string& baseName,
                      const std::string& compiledFile, unsigned jobs) {
    CompiledHelpRequest request;
    request.baseName = baseName;
    request.compiledPath = compiledFile;
    for (char& c : request.compiledPath) {
        if (c == '\\') c = '/';
    }
    request.unixTime = recordedTime(project, listFile);
    request.threads = jobs;
    printMessage({"Compilation du fichier \"", Verbatim{request.compiledPath}, "\""});
    std::string bytes;
    std::vector<CollectionProblem> problems;
    if (int status = buildCompiledHelp(project, reader, request, bytes, problems)) return status;
    for (const CollectionProblem& problem : problems)
        report(problem, project.listDirectory, listFile);
    return writeBytes(request.compiledPath, bytes);
}

}  // namespace qv
