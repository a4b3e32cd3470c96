// Analysis of one page: normalise, parse, then either report the parse
// error with a diagnostic copy or walk the page into the two trees.

#include <tinyxml.h>

#include "driver/help_project.h"
#include "driver/loading.h"
#include "driver/messages.h"
#include "driver/text_stream.h"
#include "page/html_parser_cb.h"
#include "page/normalise.h"
#include "page/xml_parse.h"
#include "platform/xml_print.h"

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

int HelpProject::analysePage(const std::string& pagePath, std::string& pageText) {
    normalisePage(pageText);
    TiXmlDocument document;
    TiXmlBase::SetCondenseWhiteSpace(false);
    if (const XmlExcess excess = parseXml(document, pageText); excess.found()) {
        // Refused before parsing: there is no parse tree to copy for diagnosis.
        const TextPosition where = positionOf(pageText, excess.offset);
        printMessage({"Erreur durant l'analyse du fichier\"", pagePath, "\""});
        printMessage({" Ligne=", std::to_string(where.row), ", Colonne=",
                      std::to_string(where.column)});
        printMessage({" Description=\"", describeExcess(excess), "\"."});
        return kStatusInvalidData;
    }
    if (document.Error()) {
        const std::string diagnosticName = pagePath + ".xml";
        printMessage({"Erreur durant l'analyse du fichier\"", pagePath, "\""});
        printMessage({" Ligne=", std::to_string(document.ErrorRow()), ", Colonne=",
                      std::to_string(document.ErrorCol())});
        printMessage({" Description=\"", document.ErrorDesc(), "\"."});
        printMessage({" G\351n\351ration du fichier \"", diagnosticName, "\" pour diagnostic."});
        saveDiagnosticCopy(document, diagnosticName, pageText.compare(0, 3, "\xEF\xBB\xBF") == 0);
        return kStatusInvalidData;
    }
    HtmlParserCb visitor(*this);
    document.Accept(&visitor);
    return visitor.status();
}

}  // namespace qv
