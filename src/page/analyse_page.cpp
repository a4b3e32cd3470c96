// Analysis of one page: normalise, parse, then either report the parse
// error with a diagnostic copy or walk the page into the two trees. A page
// read as HTML is parsed as it was loaded, and walked the same way.

#include "page/analyse_page.h"

#include <tinyxml.h>

#include <optional>

#include "io/parse_error_report.h"
#include "io/text_stream.h"
#include "model/status.h"
#include "page/normalise.h"
#include "page/page_check.h"
#include "page/page_visitor.h"
#include "xml/html_document.h"
#include "xml/parse.h"
#include "xml/print.h"

namespace qv {

namespace {

// Saves what the parser built of a failed page, as TinyXML prints a
// document, with a declaration in front of its first node.
void saveDiagnosticCopy(TiXmlDocument& document, const std::string& name, bool byteOrderMark) {
    if (TiXmlNode* first = document.FirstChild()) {
        TiXmlDeclaration declaration("1.0", "UTF-8", "yes");
        document.InsertBeforeChild(first, declaration);
    }
    FileTextStream out;
    if (out.open(name) != 0) return;  // a copy that cannot be written is not reported
    if (byteOrderMark) out << std::string_view("\xEF\xBB\xBF");
    printDocument(document, [&out](std::string_view piece) { out << piece; });
    out.close();
}

}  // namespace

int analysePage(TreeBuilder& trees, const std::string& pageName, int pageDepth,
                const std::string& path, std::string& text, PageSyntax syntax,
                PageFacts* check) {
    TiXmlDocument document;
    // Off for the rest of the run, whichever way pages are read: the
    // templates' parameters are parsed with it too.
    TiXmlBase::SetCondenseWhiteSpace(false);
    XmlExcess excess;
    std::optional<PageCheck> checked;
    if (syntax == PageSyntax::Html) {
        excess = parseHtml(document, text, kPageLimits);
        if (check != nullptr) checked.emplace(*check, path, text);
    } else {
        std::string loaded;
        if (check != nullptr) loaded = text;
        normalisePage(text);
        excess = parseXml(document, text, TIXML_ENCODING_UTF8, kPageLimits);
        if (check != nullptr) checked.emplace(*check, path, std::move(loaded), text);
    }
    if (excess.found()) {
        // Refused before parsing: there is no parse tree to copy for diagnosis.
        if (checked) {
            checked->refused(excess);
            return kStatusInvalidData;
        }
        const TextPosition where = positionOf(text, excess.offset);
        printParseError(ParseErrorSource::Page, path, where.row, where.column,
                        {describeExcess(excess)});
        return kStatusInvalidData;
    }
    if (document.Error()) {
        if (checked) {
            checked->parseError(document);
            return kStatusInvalidData;
        }
        const std::string diagnosticName = path + ".xml";
        printParseError(ParseErrorSource::Page, path, document.ErrorRow(), document.ErrorCol(),
                        {Verbatim{document.ErrorDesc()}});
        printDiagnosticCopyNote(diagnosticName);
        saveDiagnosticCopy(document, diagnosticName, text.compare(0, 3, "\xEF\xBB\xBF") == 0);
        return kStatusInvalidData;
    }
    PageVisitor visitor(trees, pageName, pageDepth, text, checked ? &*checked : nullptr);
    document.Accept(&visitor);
    if (checked) checked->walked(document);
    return visitor.status();
}

}  // namespace qv
