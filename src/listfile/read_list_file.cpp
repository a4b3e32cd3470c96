// The list file processor: parse the list and walk it, analysing each page
// as its element is met.

#include <tinyxml.h>

#include "driver/help_project.h"
#include "driver/loading.h"
#include "driver/messages.h"
#include "listfile/top_xml_parser_cb.h"
#include "page/xml_parse.h"

namespace qv {

int HelpProject::readListFile(const std::string& path, std::string& text) {
    TiXmlDocument document(path.c_str());
    if (const XmlExcess excess = parseXml(document, text); excess.found()) {
        // Nothing was parsed, so nothing could be walked: unlike a parse
        // error, this ends the run rather than letting it write empty files.
        const TextPosition where = positionOf(text, excess.offset);
        printMessage({"Erreur durant l'analyse du fichier\"", path, "\""});
        printMessage({" ligne=", std::to_string(where.row), ", colonne=",
                      std::to_string(where.column)});
        printMessage({" description=\"", describeExcess(excess), "\""});
        return kStatusInvalidData;
    }
    if (document.Error()) {
        // Not fatal: the walk goes on over what the parser built.
        printMessage({"Erreur durant l'analyse du fichier\"", path, "\""});
        printMessage({" ligne=", std::to_string(document.ErrorRow()), ", colonne=",
                      std::to_string(document.ErrorCol())});
        printMessage({" description=\"", document.ErrorDesc(), "\""});
    }
    TopXmlParserCb visitor(*this);
    document.Accept(&visitor);
    return visitor.result();
}

}  // namespace qv
