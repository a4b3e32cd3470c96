#include "check/input_findings.h"

namespace qv {

FindingText describeDecoding(const InputDecoding& decoding) {
    const char* fix = " ; enregistrez-le en UTF-8";
    switch (decoding.encoding) {
        case InputEncoding::Utf8:
            return {};
        case InputEncoding::Utf16:
            return {"fichier en UTF-16, lu apr\350s conversion", fix};
        case InputEncoding::Declared:
            return {"fichier en \253 ", AuthorText{decoding.declaredName},
                    " \273 (son encodage d\351clar\351), lu apr\350s conversion", fix};
        case InputEncoding::Cp1252Fallback:
            if (decoding.declaredName.empty()) {
                return {"fichier qui n'est pas en UTF-8, lu comme du windows-1252", fix};
            }
            return {
                "fichier qui n'est pas en UTF-8, lu comme du windows-1252 (encodage d\351clar\351 "
                "\253 ",
                AuthorText{decoding.declaredName}, " \273 ne convient pas)", fix};
    }
    return {};
}

FindingText describeCut(TextCut::Kind kind) {
    if (kind == TextCut::Kind::Utf16WithoutMark) {
        return {
            "fichier en UTF-16 sans marque d'ordre des octets : il est lu presque vide ; "
            "enregistrez-le en UTF-8"};
    }
    return {"octet NUL : la suite du fichier n'est pas lue ; retirez-le"};
}

FindingText describeCutWithin(TextCut::Kind kind, TextPosition nul) {
    if (kind == TextCut::Kind::Utf16WithoutMark) {
        return {" (fichier en UTF-16 sans marque d'ordre des octets : enregistrez-le en UTF-8)"};
    }
    return {" (octet NUL en " + lineAndColumn(nul) +
            " : le fichier s'arr\352te l\340 ; retirez-le)"};
}

}  // namespace qv
