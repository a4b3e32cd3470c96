#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>

#include "check/link_rule.h"
#include "check/list_findings.h"
#include "check/page_findings.h"
#include "helpset/read_help_set.h"

namespace qv {

// The words of a finding for a file that could not be loaded.
FindingText describeLoadFailure(int status);

// The reading of a help set as a check takes it: every file, list entry and
// page turned into findings, and the reading goes on past every failure.
class HelpSetFindings : public HelpSetNotes {
public:
    HelpSetFindings(const HelpProject& project, const FileReader& reader, FindingSink& findings)
        : findings_(findings),
          links_(project, reader, findings),
          contexts_(project, reader, findings) {}

    bool keepsLoadedPages() const override { return true; }
    void loading(const std::string&) override {}
    void listNotLoaded(const std::string& path, int status) override;
    ListNotes& listLoaded(const std::string& path, const std::string& text,
                          const InputDecoding& decoding) override;
    int pageNotLoaded(const std::string& name, int depth, int status) override;
    PageNotes& pageLoaded(const PreparedPage& page, const std::string& name, int depth) override;
    int pageDone(const PreparedPage& page, const std::string& name, int status) override;

    // Whether the list file was loaded, and then its check.
    bool listRead() const { return list_.has_value(); }
    const ListFindings& list() const { return *list_; }
    // The pages loaded, each counted once.
    std::size_t pagesRead() const { return pagesRead_; }
    // Once every page is read: the links that waited for a later page, and
    // the headers' defines.
    void finish() {
        links_.finish();
        contexts_.finish();
    }

private:
    // What the check remembers of each page of the list, by its helpSetPath.
    struct Entry {
        TextPosition first;  // its first entry in the list
        bool read = false;   // loaded once already
    };
    // The entry of the page the walk is at; whether it is the page's first.
    bool enter(const std::string& name, int depth);
    void failedAt(int depth);

    FindingSink& findings_;
    LinkRule links_;
    ContextFindings contexts_;
    std::optional<ListFindings> list_;
    std::optional<PageFindings> page_;
    std::unordered_map<std::string, Entry> entries_;
    Entry* entry_ = nullptr;
    int depth_ = 0;  // of the page being walked
    // The depth of the outermost failed page entry that encloses the walk's
    // place, or -1: the pages inside have nothing of it above them.
    int failedDepth_ = -1;
    std::size_t pagesRead_ = 0;
};

}  // namespace qv
