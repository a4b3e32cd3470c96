// Analysis of one page in two steps: prepare (normalise, parse), then report
// a failure or walk the page into the two trees.

#include "page/analyse_page.h"

#include "model/status.h"
#include "page/normalise.h"
#include "page/page_visitor.h"

namespace qv {

namespace {

// Loose HTML made well-formed XML, parsed by TinyXML.
XmlFailure parseAsXml(std::string& text, TiXmlDocument& document) {
    normalisePage(text);
    TiXmlBase::SetCondenseWhiteSpace(false);
    return parseXml(document, text, TIXML_ENCODING_UTF8, kPageLimits);
}

}  // namespace

PreparedPage preparePage(std::string path, std::string text, InputDecoding decoding,
                         bool keepLoaded) {
    PreparedPage page{std::move(path), std::move(decoding), {}, std::move(text),
                      std::make_unique<TiXmlDocument>(), {}};
    if (keepLoaded) page.loaded = page.text;
    page.failure = parseAsXml(page.text, *page.document);
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
    notes.walked(page);
    return visitor.status();
}

int analysePage(TreeBuilder& trees, const std::string& pageName, int pageDepth,
                const std::string& path, std::string text, PageNotes& notes) {
    PreparedPage page = preparePage(path, std::move(text), {}, false);
    return walkPreparedPage(page, trees, pageName, pageDepth, notes);
}

}  // namespace qv
