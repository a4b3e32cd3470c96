#include "io/parse_error_report.h"

namespace qv {

void printParseError(ParseErrorSource source, std::string_view path, int row, int column,
                     std::initializer_list<MessagePiece> description) {
    const bool page = source == ParseErrorSource::Page;
    printMessage({"Erreur durant l'analyse du fichier\"", Verbatim{path}, "\""});
    printMessage({page ? " Ligne=" : " ligne=", std::to_string(row),
                  page ? ", Colonne=" : ", colonne=", std::to_string(column)});
    std::vector<MessagePiece> line{page ? " Description=\"" : " description=\""};
    line.insert(line.end(), description.begin(), description.end());
    line.emplace_back(page ? "\"." : "\"");
    printMessage(line);
}

void printDiagnosticCopyNote(std::string_view copyPath) {
    printMessage({" G\351n\351ration du fichier \"", Verbatim{copyPath}, "\" pour diagnostic."});
}

}  // namespace qv
