#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "io/messages.h"
#include "model/finding.h"

namespace qv {

// Receives the lines of a check's report, the tool's own words and the
// author's bytes apart, as printMessage takes them.
using ReportWriter = std::function<void(const std::vector<MessagePiece>& line)>;

// The findings of a check: each kept once, then written grouped by file (the
// list file first, the others in the order they were first reported), in
// line and column order, each as "path:line:column: erreur: ..." or
// "avertissement: ..." ("path: ..." for a whole file), and a summary line.
class FindingReport : public FindingSink {
public:
    explicit FindingReport(const std::string& listPath) { rank(listPath); }

    void report(Finding finding) override;

    std::size_t errors() const { return errors_; }
    std::size_t warnings() const { return warnings_; }

    // Writes every finding, then the summary with the number of pages read.
    void write(std::size_t pagesRead, const ReportWriter& writeLine);

private:
    void rank(const std::string& path) { ranks_.emplace(path, ranks_.size()); }

    std::vector<Finding> findings_;
    std::unordered_set<std::string> seen_;
    std::unordered_map<std::string, std::size_t> ranks_;
    std::size_t errors_ = 0;
    std::size_t warnings_ = 0;
};

}  // namespace qv
