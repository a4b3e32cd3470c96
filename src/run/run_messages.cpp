#include "run/run_messages.h"

#include "io/messages.h"

namespace qv {

void RunMessages::loading(const std::string& path) {
    printMessage({"Traitement du fichier \"", Verbatim{path}, "\""});
}

ListNotes& RunMessages::listLoaded(const std::string& path, const std::string& text,
                                   const InputDecoding&) {
    return list_.emplace(path, text);
}

PageNotes& RunMessages::pageLoaded(const PreparedPage&, const std::string& name, int) {
    return page_.emplace(name);
}

}  // namespace qv
