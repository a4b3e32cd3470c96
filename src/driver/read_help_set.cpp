#include "driver/read_help_set.h"

#include "io/text_loading.h"
#include "listfile/read_list_file.h"

namespace qv {

int readHelpSet(HelpProject& project, const FileReader& reader, const std::string& listFile,
                HelpSetNotes& notes) {
    TreeBuilder trees(project);
    auto readPage = [&](const std::string& name, int depth) {
        const std::string path = project.listDirectory + name;
        notes.loading(path);
        std::string text;
        InputDecoding decoding;
        if (int status = loadMarkupFile(reader, path, text, decoding)) {
            return notes.pageNotLoaded(name, depth, status);
        }
        PreparedPage page =
            preparePage(path, std::move(text), std::move(decoding),
                                        notes.keepsLoadedPages(), project.pageSyntax);
        PageNotes& pageNotes = notes.pageLoaded(page, name, depth);
        return notes.pageDone(page, name, walkPreparedPage(page, trees, name, depth, pageNotes));
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
                        notes.listLoaded(listPath, text, decoding));
}

}  // namespace qv
