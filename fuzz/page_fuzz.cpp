// A page as the list reader hands it on: normalised, parsed, walked into a
// fresh project at a depth taken from the input, then both trees written
// into memory; a page that does not parse is printed as its diagnostic copy.

#include <tinyxml.h>

#include <cstdint>

#include "driver/help_project.h"
#include "fuzz_support.h"
#include "page/html_parser_cb.h"
#include "page/normalise.h"
#include "page/xml_parse.h"
#include "platform/xml_print.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qv::fuzz::setUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    qv::HelpProject project;
    project.contentsRoot.file = "p&1.html";
    project.pageDepth = data[0] % 4;
    std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    qv::normalisePage(text);
    TiXmlBase::SetCondenseWhiteSpace(false);
    TiXmlDocument document;
    if (qv::parseXml(document, text).found()) return 0;
    qv::fuzz::checkNestingScan(document, text);
    if (document.Error()) {
        (void)qv::printDocument(document);
        return 0;
    }
    qv::HtmlParserCb visitor(project);
    document.Accept(&visitor);
    qv::fuzz::writeTrees(project);
    return 0;
}
