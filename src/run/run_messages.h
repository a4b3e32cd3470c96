#pragma once
#include <optional>
#include <string>

#include "helpset/read_help_set.h"
#include "run/list_messages.h"
#include "run/page_messages.h"

namespace qv {

// The reading of a help set as a run shows it: "Traitement du fichier" for
// each file, the list's and the pages' own messages, and the end of the
// reading at the first failure, whose status the run reports.
class RunMessages : public HelpSetNotes {
public:
    bool keepsLoadedPages() const override { return false; }
    void loading(const std::string& path) override;
    void listNotLoaded(const std::string&, int) override {}
    ListNotes& listLoaded(const std::string& path, const std::string& text,
                          const InputDecoding&) override;
    int pageNotLoaded(const std::string&, int, int status) override { return status; }
    PageNotes& pageLoaded(const PreparedPage&, const std::string& name, int) override;
    int pageDone(const PreparedPage&, const std::string&, int status) override { return status; }

private:
    std::optional<ListMessages> list_;
    std::optional<PageMessages> page_;
};

}  // namespace qv
