#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "helpset/context_headers.h"
#include "io/file_reader.h"
#include "model/finding.h"
#include "model/help_project.h"

namespace qv {

// The contexts of a help set as a check takes them: the headers the list
// names, read as a run reads them before the pages are walked, so that each
// name a page marks is checked against them the moment it is met; once
// every page is walked, the headers' own defines.
class ContextFindings {
public:
    ContextFindings(const HelpProject& project, const FileReader& reader, FindingSink& findings)
        : project_(project), reader_(reader), findings_(findings) {}

    // The list (listPath) names the header name at where: it is read now
    // (once for each name), and what keeps it from numbering is told there.
    void headerListed(const std::string& listPath, const std::string& name, TextPosition where);
    // The page at path marks the context name (a C identifier) at where.
    void marked(std::string_view name, const std::string& path, TextPosition where);
    // Once every page is walked: names or numbers defined twice, and
    // defines that no page marks.
    void finish();

private:
    // The first mark of a name, or the first define of a name or a number.
    struct Place {
        std::string path;
        TextPosition at;
    };
    // What the headers define for a name: its first define, and whether a
    // page marks it.
    struct Defined {
        Place first;
        std::uint32_t value;
        bool marked = false;
    };
    void report(const Place& place, Severity severity, FindingText message);
    // The first define of each number, and the name it gives that number.
    struct Numbered {
        Place first;
        std::string name;
    };
    void checkDefine(const Place& here, const CDefine& define,
                     std::unordered_map<std::uint32_t, Numbered>& numbered);

    const HelpProject& project_;
    const FileReader& reader_;
    FindingSink& findings_;
    std::vector<ContextHeader> headers_;  // read, each once
    bool headerNamed_ = false;
    bool headerFailed_ = false;  // a header could not be read: its names are unknown
    std::unordered_map<std::string, Defined> defined_;
    std::unordered_map<std::string, Place> marks_;
};

}  // namespace qv
