#include "run/list_messages.h"

#include "io/parse_error_report.h"
#include "model/status.h"
#include "run/message_position.h"

namespace qv {

void ListMessages::failed(const XmlFailure& failure) {
    const TextPosition at = messagePosition(failure, text_);
    printParseError(ParseErrorSource::ListFile, path_, at.line, at.column, {failure.description});
}

int ListMessages::unknownLanguage(const TiXmlAttribute& language) {
    printMessage({"Langue inconnue : \"", Verbatim{language.ValueStr()},
                  "\" (attribut language de l'\351l\351ment files ;"
                  " un identificateur comme 0x40C ou une balise comme fr-FR)"});
    return kStatusInvalidData;
}

int ListMessages::unknownPageSyntax(const TiXmlAttribute& pages) {
    printMessage({"Mode de lecture des pages inconnu : \"", Verbatim{pages.ValueStr()},
                  "\" (attribut pages de l'\351l\351ment files ; xml ou html)"});
    return kStatusInvalidData;
}

int ListMessages::unknownPageEntries(const TiXmlAttribute& pageEntries) {
    printMessage({"Valeur inconnue : \"", Verbatim{pageEntries.ValueStr()},
                  "\" (attribut pageentries de l'\351l\351ment files ; yes ou no)"});
    return kStatusInvalidData;
}

}  // namespace qv
