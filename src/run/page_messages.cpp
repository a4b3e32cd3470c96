#include "run/page_messages.h"

#include "io/parse_error_report.h"
#include "io/text_stream.h"
#include "page/analyse_page.h"
#include "page/page_visitor.h"
#include "run/message_position.h"
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

void PageMessages::failed(PreparedPage& page) {
    const XmlFailure& failure = page.failure;
    const TextPosition at = messagePosition(failure, page.text);
    if (failure.kind == XmlFailure::Kind::Refused) {
        // Refused before parsing: there is no parse tree to copy for diagnosis.
        printParseError(ParseErrorSource::Page, page.path, at.line, at.column,
                        {failure.description});
        return;
    }
    const std::string diagnosticName = page.path + ".xml";
    printParseError(ParseErrorSource::Page, page.path, at.line, at.column,
                    {Verbatim{failure.description}});
    printDiagnosticCopyNote(diagnosticName);
    saveDiagnosticCopy(*page.document, diagnosticName,
                       page.text.compare(0, 3, "\xEF\xBB\xBF") == 0);
}

void PageMessages::nestedKeyword(const TiXmlElement& element, const char* ixValue) {
    printParseError(ParseErrorSource::Page, pageName_, element.Row(), element.Column(),
                    {"Attribut ix='", Verbatim{ixValue}, "' illegalement imbrique"});
}

void PageMessages::deepKeyword(const TiXmlElement& element) {
    printParseError(ParseErrorSource::Page, pageName_, element.Row(), element.Column(),
                    {"Attribut ix de plus de " + std::to_string(kMaxKeywordLevels) + " niveaux"});
}

}  // namespace qv
