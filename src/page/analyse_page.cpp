// Analysis of one page in two steps: prepare (normalise, parse; or parse as
// HTML), then report a failure or walk the page into the two trees.

#include "page/analyse_page.h"

#include "model/status.h"
#include "page/normalise.h"
#include "page/page_visitor.h"
#include "xml/html_document.h"

namespace qv {

namespace {

// Loose HTML made well-formed XML, parsed by TinyXML.
XmlFailure parseAsXml(std::string& text, TiXmlDocument& document) {
    normalisePage(text);
    return parseXml(document, text, TIXML_ENCODING_UTF8, kPageLimits);
}

// The page as a browser reads it, built into a TinyXML document; only a page
// beyond the limits fails.
XmlFailure parseAsHtml(const std::string& text, TiXmlDocument& document) {
    const XmlExcess excess = parseHtml(document, text, kPageLimits);
    return excess.found() ? refusedFailure(excess) : XmlFailure{};
}

}  // namespace

void keepBlanksInPages() {
    // Pages keep their blanks; titles and keywords fold them later. The
    // switch changes text nodes alone: the list file and the templates'
    // parameters are read from attributes, which it leaves as written, so it
    // is never turned back on.
    TiXmlBase::SetCondenseWhiteSpace(false);
}

PreparedPage preparePage(std::string path, std::string text, InputDecoding decoding,
                         bool keepLoaded, PageSyntax syntax) {
    PreparedPage page{std::move(path),
                      std::move(decoding),
                      {},
                      std::move(text),
                      std::make_unique<TiXmlDocument>(),
                      {}};
    if (keepLoaded) page.loaded = page.text;
    // Set once, before the first page, in both readings.
    if (TiXmlBase::IsWhiteSpaceCondensed()) keepBlanksInPages();
    page.failure = syntax == PageSyntax::Html ? parseAsHtml(page.text, *page.document)
                                              : parseAsXml(page.text, *page.document);
    return page;
}

int walkPreparedPage(PreparedPage& page, TreeBuilder& trees, const std::string& pageName,
                     int pageDepth, PageNotes& notes) {
    if (page.failure.failed()) {
        notes.failed(page);
        return kStatusInvalidData;
    }
    PageVisitor visitor(trees, pageName, pageDepth, page.text, notes);
    page.document->Accept(&visitor);
    visitor.finishPage();
    notes.walked(page);
    return visitor.status();
}

int analysePage(TreeBuilder& trees, const std::string& pageName, int pageDepth,
                const std::string& path, std::string text, PageNotes& notes, PageSyntax syntax) {
    PreparedPage page = preparePage(path, std::move(text), {}, false, syntax);
    return walkPreparedPage(page, trees, pageName, pageDepth, notes);
}

}  // namespace qv
