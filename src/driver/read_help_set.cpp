#include "driver/read_help_set.h"

#include "io/text_loading.h"
#include "listfile/read_list_file.h"
#include "page/analyse_page.h"

namespace qv {

int readHelpSet(HelpProject& project, const FileReader& reader, const std::string& listFile,
                HelpSetCheck* check) {
    TreeBuilder trees(project);
    InputDecoding decoding;
    // A check says which files were not UTF-8 and how they were read.
    auto noteDecoding = [&](const std::string& path) {
        if (check != nullptr && decoding.encoding != InputEncoding::Utf8) {
            check->inputDecoded(path, decoding);
        }
    };
    auto analyseListedPage = [&](const std::string& name, int depth) {
        bool loaded = false;
        const int status = processFile(
            reader, project.listDirectory + name, [&](const std::string& path, std::string& text) {
                loaded = true;
                if (check == nullptr) {
                    return analysePage(trees, name, depth, path, text, project.pageSyntax);
                }
                noteDecoding(path);
                const int analysed = analysePage(trees, name, depth, path, text,
                                                 project.pageSyntax, &check->pageLoaded(name));
                check->pageAnalysed(name, analysed);
                return analysed;
            },
            &decoding);
        if (check == nullptr) return status;
        if (!loaded) check->pageNotLoaded(name, status);
        return 0;
    };
    bool loaded = false;
    const std::string listPath = project.listDirectory + listFile;
    const int status =
        processFile(reader, listPath, [&](const std::string& path, std::string& text) {
            loaded = true;
            ListFileCheck* listCheck = check == nullptr ? nullptr : &check->listLoaded(path, text);
            noteDecoding(path);
            return readListFile(project, path, text, analyseListedPage, listCheck);
        },
        &decoding);
    if (check != nullptr && !loaded) check->listNotLoaded(listPath, status);
    return status;
}

}  // namespace qv
