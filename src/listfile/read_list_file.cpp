// The list file: parse the list and walk it, handing each page on as its
// element is met.

#include "listfile/read_list_file.h"

#include <tinyxml.h>

#include "io/parse_error_report.h"
#include "listfile/list_check.h"
#include "listfile/list_file_visitor.h"
#include "model/status.h"
#include "xml/parse.h"

namespace qv {

int readListFile(HelpProject& project, const std::string& path, std::string& text,
                 const ListedPageHandler& handlePage, ListFileCheck* check,
                 const ListedPagesHandler& pagesAhead) {
    TiXmlDocument document(path.c_str());
    if (const XmlExcess excess = parseXml(document, text, TIXML_ENCODING_UTF8, kListLimits); excess.found()) {
        // Nothing was parsed, so nothing could be walked: unlike a parse
        // error, this ends the run rather than letting it write empty files.
        if (check != nullptr) {
            check->refused(excess);
            return kStatusInvalidData;
        }
        const TextPosition where = positionOf(text, excess.offset);
        printParseError(ParseErrorSource::ListFile, path, where.row, where.column,
                        {describeExcess(excess)});
        return kStatusInvalidData;
    }
    if (document.Error()) {
        // Not fatal: the walk goes on over what the parser built.
        if (check != nullptr) {
            check->parseError(document);
        } else {
            printParseError(ParseErrorSource::ListFile, path, document.ErrorRow(),
                            document.ErrorCol(), {Verbatim{document.ErrorDesc()}});
        }
    }
    if (check != nullptr) check->parsed(document);
    if (pagesAhead) pagesAhead(listedPages(document));
    ListFileVisitor visitor(project, handlePage, check);
    document.Accept(&visitor);
    return visitor.status();
}

}  // namespace qv
