// A page as the list walk hands it on: analysed into a fresh project at a
// depth taken from the input, then both trees written into memory. A page
// that does not parse gets its diagnostic copy in the scratch directory.
// The nesting scan is checked against TinyXML's own parse of the same text.

#include <tinyxml.h>

#include <cstdint>

#include "fuzz_support.h"
#include "page/analyse_page.h"
#include "page/normalise.h"
#include "xml/parse.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qv::fuzz::setUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int depth = data[0] % 4;
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);

    qv::HelpProject project;
    qv::TreeBuilder trees(project);
    std::string text = input;
    if (qv::analysePage(trees, "p&1.html", depth, "p.html", text) == 0) {
        qv::fuzz::writeTrees(project);
    }

    std::string normalised = input;
    qv::normalisePage(normalised);
    TiXmlDocument document;
    if (!qv::parseXml(document, normalised, TIXML_ENCODING_UTF8, qv::kPageLimits).found()) {
        qv::fuzz::checkNestingScan(document, normalised);
    }
    return 0;
}
