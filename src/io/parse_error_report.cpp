#include "io/parse_error_report.h"

#include "io/messages.h"

namespace qv {

void printParseError(ParseErrorSource source, std::string_view path, int row, int column,
                     std::string_view description) {
    const bool page = source == ParseErrorSource::Page;
    printMessage({"Erreur durant l'analyse du fichier\"", path, "\""});
    printMessage({page ? " Ligne=" : " ligne=", std::to_string(row),
                  page ? ", Colonne=" : ", colonne=", std::to_string(column)});
    printMessage({page ? " Description=\"" : " description=\"", description,
                  page ? "\"." : "\""});
}

void printDiagnosticCopyNote(std::string_view copyPath) {
    printMessage({" G\351n\351ration du fichier \"", copyPath, "\" pour diagnostic."});
}

void printTemplateParametersError() {
    printMessage({"Erreur \340 l'analyse des param\350tres de substitution"});
}

}  // namespace qv
