#include "driver/read_help_set.h"

#include "io/text_loading.h"
#include "listfile/read_list_file.h"
#include "page/analyse_page.h"

namespace qv {

// HOOK (input decoding): decodeInputText is not yet called by the loading.
// Once processFile or loadTextFile hands on the InputDecoding of the file it
// loaded, each of the two processors below passes it to the check first:
//     if (check != nullptr && decoding.encoding != InputEncoding::Utf8)
//         check->inputDecoded(path, decoding);
int readHelpSet(HelpProject& project, const FileReader& reader, const std::string& listFile,
                HelpSetCheck* check) {
    TreeBuilder trees(project);
    auto analyseListedPage = [&](const std::string& name, int depth) {
        bool loaded = false;
        const int status = processFile(
            reader, project.listDirectory + name, [&](const std::string& path, std::string& text) {
                loaded = true;
                if (check == nullptr) return analysePage(trees, name, depth, path, text);
                const int analysed =
                    analysePage(trees, name, depth, path, text, &check->pageLoaded(name));
                check->pageAnalysed(name, analysed);
                return analysed;
            });
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
            return readListFile(project, path, text, analyseListedPage, listCheck);
        });
    if (check != nullptr && !loaded) check->listNotLoaded(listPath, status);
    return status;
}

}  // namespace qv
