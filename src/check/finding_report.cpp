#include "check/finding_report.h"

#include <algorithm>

namespace qv {

namespace {

std::string plural(std::size_t count, const char* word) {
    return std::to_string(count) + " " + word + (count > 1 ? "s" : "");
}

// What makes two findings the same: file, place, severity and words.
std::string identity(const Finding& finding) {
    std::string key = finding.path + '\0' + lineAndColumn(finding.at) +
                      (finding.severity == Severity::Error ? 'E' : 'W');
    for (const FindingPiece& piece : finding.message) {
        key += piece.author ? '\1' : '\2';
        key += piece.text;
    }
    return key;
}

}  // namespace

void FindingReport::report(Finding finding) {
    if (!seen_.insert(identity(finding)).second) return;
    ++(finding.severity == Severity::Error ? errors_ : warnings_);
    rank(finding.path);
    findings_.push_back(std::move(finding));
}

void FindingReport::write(std::size_t pagesRead, const ReportWriter& writeLine) {
    std::stable_sort(findings_.begin(), findings_.end(), [&](const Finding& a, const Finding& b) {
        const std::size_t rankA = ranks_[a.path];
        const std::size_t rankB = ranks_[b.path];
        if (rankA != rankB) return rankA < rankB;
        if (a.at.line != b.at.line) return a.at.line < b.at.line;
        return a.at.column < b.at.column;
    });
    for (const Finding& finding : findings_) {
        std::string path = finding.path;
        std::replace(path.begin(), path.end(), '\\', '/');
        const std::string position = finding.at.line > 0 ? ":" + lineAndColumn(finding.at) : "";
        std::vector<MessagePiece> line{
            Verbatim{path}, position, ": ",
            finding.severity == Severity::Error ? "erreur: " : "avertissement: "};
        for (const FindingPiece& piece : finding.message) {
            line.push_back(piece.author ? MessagePiece(Verbatim{piece.text})
                                        : MessagePiece(piece.text));
        }
        writeLine(line);
    }
    writeLine({"V\351rification termin\351e : ", plural(errors_, "erreur"), ", ",
               plural(warnings_, "avertissement"), ", ", plural(pagesRead, "page"),
               pagesRead > 1 ? " lues." : " lue."});
}

}  // namespace qv
