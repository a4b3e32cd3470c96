#include "helpset/read_help_set.h"

#include "helpset/page_pipeline.h"
#include "io/text_loading.h"
#include "listfile/read_list_file.h"

namespace qv {

int readHelpSet(HelpProject& project, const FileReader& reader, const std::string& listFile,
                HelpSetNotes& notes, unsigned jobs) {
    TreeBuilder trees(project);
    const bool keepLoaded = notes.keepsLoadedPages();
    // Pages are loaded and parsed ahead of the walk, which takes them in its
    // own order and does with each what it did when it read them itself. The
    // pool starts when the walk meets the first page, once the list has said
    // how its pages are read.
    PageSyntax aheadSyntax = PageSyntax::Xml;
    PagePipeline pages(
        [&reader, keepLoaded, &aheadSyntax](const std::string& path, bool ahead) {
            return loadAndPreparePage(reader, path, keepLoaded, aheadSyntax, ahead);
        },
        jobs);
    std::vector<std::string> listed;
    bool started = false;
    auto startPages = [&] {
        started = true;
        aheadSyntax = project.pageSyntax;
        if (jobs < 2 || listed.empty()) return;
        for (std::string& name : listed) name.insert(0, project.listDirectory);
        keepBlanksInPages();
        pages.start(std::move(listed));
    };
    auto readPage = [&](const std::string& name, int depth) {
        const std::string path = project.listDirectory + name;
        notes.loading(path);
        if (!started) startPages();
        auto walk = [&](PageResult& result) {
            if (result.loadStatus != 0) return notes.pageNotLoaded(name, depth, result.loadStatus);
            PreparedPage& page = result.page;
            PageNotes& pageNotes = notes.pageLoaded(page, name, depth);
            trees.pageEntries = project.pageEntries;
            return notes.pageDone(page, name,
                                  walkPreparedPage(page, trees, name, depth, pageNotes));
        };
        if (project.pageSyntax == aheadSyntax) return pages.withPage(path, walk);
        // A later files element changed how pages are read.
        PageResult here = loadAndPreparePage(reader, path, keepLoaded, project.pageSyntax, false);
        return walk(here);
    };
    const std::string listPath = project.listDirectory + listFile;
    notes.loading(listPath);
    std::string text;
    InputDecoding decoding;
    if (int status = loadMarkupFile(reader, listPath, text, decoding)) {
        notes.listNotLoaded(listPath, status);
        return status;
    }
    return readListFile(project, listPath, text, readPage,
                        notes.listLoaded(listPath, text, decoding),
                        [&](std::vector<std::string> names) { listed = std::move(names); });
}

}  // namespace qv
