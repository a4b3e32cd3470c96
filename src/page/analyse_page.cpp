// Analysis of one page in two steps: normalise and parse (any thread), then,
// in list order, either report the parse error with a diagnostic copy or
// walk the page into the two trees.

#include "page/analyse_page.h"

#include <tinyxml.h>

#include <optional>

#include "io/parse_error_report.h"
#include "io/text_stream.h"
#include "model/status.h"
#include "page/normalise.h"
#include "page/page_check.h"
#include "page/page_visitor.h"
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

PreparedPage preparePage(std::string text, bool keepLoaded) {
    PreparedPage page;
    if (keepLoaded) page.loaded = text;
    page.text = std::move(text);
    normalisePage(page.text);
    page.document = std::make_unique<TiXmlDocument>();
    if (TiXmlBase::IsWhiteSpaceCondensed()) keepBlanksInPages();
    page.excess = parseXml(*page.document, page.text, TIXML_ENCODING_UTF8, kPageLimits);
    return page;
}

void keepBlanksInPages() {
    // Pages keep their blanks; titles and keywords fold them later. The list
    // file, parsed before any page, has them condensed.
    TiXmlBase::SetCondenseWhiteSpace(false);
}

int walkPreparedPage(TreeBuilder& trees, const std::string& pageName, int pageDepth,
                     const std::string& path, PreparedPage& page, PageFacts* check) {
    const std::string& text = page.text;
    TiXmlDocument& document = *page.document;
    std::optional<PageCheck> checked;
    if (check != nullptr) checked.emplace(*check, path, std::move(page.loaded), text);
    if (page.excess.found()) {
        // Refused before parsing: there is no parse tree to copy for diagnosis.
        if (checked) {
            checked->refused(page.excess);
            return kStatusInvalidData;
        }
        const TextPosition where = positionOf(text, page.excess.offset);
        printParseError(ParseErrorSource::Page, path, where.row, where.column,
                        {describeExcess(page.excess)});
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

int analysePage(TreeBuilder& trees, const std::string& pageName, int pageDepth,
                const std::string& path, std::string text) {
    PreparedPage page = preparePage(std::move(text), false);
    return walkPreparedPage(trees, pageName, pageDepth, path, page);
}

}  // namespace qv
