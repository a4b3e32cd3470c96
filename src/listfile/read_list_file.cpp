// The list file: parse the list and walk it, handing each page on as its
// element is met.

#include "listfile/read_list_file.h"

#include <tinyxml.h>

#include "listfile/list_file_visitor.h"
#include "model/status.h"
#include "xml/parse.h"

namespace qv {

int readListFile(HelpProject& project, const std::string& path, std::string& text,
                 const ListedPageHandler& handlePage, ListNotes& notes,
                 const ListedPagesHandler& pagesAhead) {
    TiXmlDocument document(path.c_str());
    const XmlFailure failure = parseXml(document, text, TIXML_ENCODING_UTF8, kListLimits);
    if (failure.failed()) notes.failed(failure);
    // Refused, nothing was parsed and nothing can be walked: unlike a parse
    // error, this ends the run rather than letting it write empty files.
    if (failure.kind == XmlFailure::Kind::Refused) return kStatusInvalidData;
    notes.parsed(document);
    if (pagesAhead) pagesAhead(listedPages(document));
    ListFileVisitor visitor(project, handlePage, notes);
    document.Accept(&visitor);
    return visitor.status();
}

}  // namespace qv
