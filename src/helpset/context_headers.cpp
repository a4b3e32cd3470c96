#include "helpset/context_headers.h"

#include "io/text_loading.h"
#include "model/status.h"

namespace qv {

ContextHeader readContextHeader(const HelpProject& project, const FileReader& reader,
                                const std::string& name) {
    ContextHeader header{name, project.listDirectory + name, 0, {}};
    std::string text;
    header.status = loadTextFile(reader, header.path, text);
    // A header without a single line defines nothing, which the check tells.
    if (header.status == kStatusEmptyFile) header.status = 0;
    if (header.status == 0) header.defines = readDefines(text);
    return header;
}

void takeContextNumbers(const std::vector<ContextHeader>& headers, ContextMap& contexts) {
    for (const ContextHeader& header : headers) {
        for (const CDefine& define : header.defines) {
            contexts.numbers.emplace(define.name, define.value);
        }
    }
}

}  // namespace qv
