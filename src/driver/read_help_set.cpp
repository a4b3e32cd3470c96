#include "driver/read_help_set.h"

#include "io/text_loading.h"
#include "listfile/read_list_file.h"
#include "page/analyse_page.h"

namespace qv {

int readHelpSet(HelpProject& project, const FileReader& reader, const std::string& listFile) {
    TreeBuilder trees(project);
    auto analyseListedPage = [&](const std::string& name, int depth) {
        return processFile(reader, project.listDirectory + name,
                           [&](const std::string& path, std::string& text) {
                               return analysePage(trees, name, depth, path, text);
                           });
    };
    return processFile(reader, project.listDirectory + listFile,
                       [&](const std::string& path, std::string& text) {
                           return readListFile(project, path, text, analyseListedPage);
                       });
}

}  // namespace qv
