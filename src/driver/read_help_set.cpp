#include "driver/read_help_set.h"

#include "driver/page_pipeline.h"
#include "io/text_loading.h"
#include "listfile/read_list_file.h"
#include "page/analyse_page.h"

namespace qv {

int readHelpSet(HelpProject& project, const FileReader& reader, const std::string& listFile,
                HelpSetCheck* check, unsigned jobs) {
    TreeBuilder trees(project);
    InputDecoding decoding;
    // A check says which files were not UTF-8 and how they were read.
    auto noteDecoding = [&](const std::string& path) {
        if (check != nullptr && decoding.encoding != InputEncoding::Utf8) {
            check->inputDecoded(path, decoding);
        }
    };
    // Pages are loaded and parsed ahead of the walk, which takes them in its
    // own order and does with each what it did when it read them itself.
    PagePipeline pages(
        [&reader, keepLoaded = check != nullptr](const std::string& path, bool ahead) {
            return loadAndPreparePage(reader, path, keepLoaded, ahead);
        },
        jobs);
    auto startPages = [&](std::vector<std::string> names) {
        if (jobs < 2 || names.empty()) return;
        for (std::string& name : names) name.insert(0, project.listDirectory);
        keepBlanksInPages();
        pages.start(std::move(names));
    };
    auto analyseListedPage = [&](const std::string& name, int depth) {
        const std::string path = project.listDirectory + name;
        announceFile(path);
        const PagePipeline::Page loaded = pages.take(path);
        if (loaded->loadStatus != 0) {
            if (check == nullptr) return loaded->loadStatus;
            check->pageNotLoaded(name, loaded->loadStatus);
            return 0;
        }
        if (check == nullptr) return walkPreparedPage(trees, name, depth, path, loaded->page);
        decoding = std::move(loaded->decoding);
        noteDecoding(path);
        const int analysed =
            walkPreparedPage(trees, name, depth, path, loaded->page, &check->pageLoaded(name));
        check->pageAnalysed(name, analysed);
        return 0;
    };
    bool loaded = false;
    const std::string listPath = project.listDirectory + listFile;
    const int status =
        processFile(reader, listPath, [&](const std::string& path, std::string& text) {
            loaded = true;
            ListFileCheck* listCheck = check == nullptr ? nullptr : &check->listLoaded(path, text);
            noteDecoding(path);
            return readListFile(project, path, text, analyseListedPage, listCheck, startPages);
        },
        &decoding);
    if (check != nullptr && !loaded) check->listNotLoaded(listPath, status);
    return status;
}

}  // namespace qv
