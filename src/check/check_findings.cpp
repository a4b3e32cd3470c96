#include "check/check_findings.h"

#include "model/status.h"
#include "platform/system_messages.h"
#include "text/links.h"
#include "text/tidy_text.h"

namespace qv {

FindingText describeLoadFailure(int status) {
    if (status == kStatusEmptyFile) return {"fichier vide"};
    std::string text = systemMessageText(status);
    tidyText(text);
    return {std::move(text)};
}

void HelpSetFindings::listNotLoaded(const std::string& path, int status) {
    findings_.report({path, {}, Severity::Error, describeLoadFailure(status)});
}

ListNotes& HelpSetFindings::listLoaded(const std::string& path, const std::string& text,
                                       const InputDecoding& decoding) {
    return list_.emplace(findings_, path, text, decoding, contexts_);
}

bool HelpSetFindings::enter(const std::string& name, int depth) {
    if (failedDepth_ >= 0 && depth <= failedDepth_) failedDepth_ = -1;
    const TextPosition here = list_->current();
    auto [entry, first] = entries_.try_emplace(helpSetPath(name), Entry{here});
    entry_ = &entry->second;
    if (!first) {
        findings_.report({list_->path(),
                          here,
                          Severity::Warning,
                          {"page \253 ", AuthorText{name},
                           " \273 d\351j\340 list\351e en " + lineAndColumn(entry_->first) +
                               " : elle figurera deux fois dans le projet"}});
    }
    return first;
}

void HelpSetFindings::failedAt(int depth) {
    if (failedDepth_ < 0) failedDepth_ = depth;
}

int HelpSetFindings::pageNotLoaded(const std::string& name, int depth, int status) {
    // A page listed twice is missing twice for one cause: told at its first entry.
    if (enter(name, depth)) {
        FindingText message{"page \253 ", AuthorText{name}, " \273 : "};
        const FindingText why = describeLoadFailure(status);
        message.insert(message.end(), why.begin(), why.end());
        findings_.report({list_->path(), list_->current(), Severity::Error, std::move(message)});
    }
    failedAt(depth);
    return 0;
}

PageNotes& HelpSetFindings::pageLoaded(const PreparedPage& page, const std::string& name,
                                       int depth) {
    enter(name, depth);
    depth_ = depth;
    if (!entry_->read) ++pagesRead_;
    return page_.emplace(findings_, page, failedDepth_ >= 0, contexts_);
}

int HelpSetFindings::pageDone(const PreparedPage&, const std::string& name, int status) {
    // A page listed again is read again, and finds the same: its links are
    // followed once.
    if (!entry_->read) {
        entry_->read = true;
        links_.pageRead(name, *page_, list_->pages());
    }
    if (status != 0) failedAt(depth_);
    page_.reset();
    return 0;
}

}  // namespace qv
