// A page as the list walk hands it on: analysed into a fresh project at a
// depth taken from the input, then both trees written into memory. A page
// that does not parse gets its diagnostic copy in the scratch directory.
// The nesting scan is checked against TinyXML's own parse of the same text.
// The page is also analysed for a check: every finding and link must land
// inside the page as given.

#include <tinyxml.h>

#include <algorithm>
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

    {
        qv::HelpProject checked;
        qv::TreeBuilder checkedTrees(checked);
        struct InsidePage : qv::FindingSink {
            int lines;
            explicit InsidePage(int count) : lines(count) {}
            void report(qv::Finding finding) override {
                if (finding.line < 0 || finding.line > lines || finding.column < 0) __builtin_trap();
            }
        } sink(1 + static_cast<int>(std::count(input.begin(), input.end(), '\n')));
        qv::PageFacts facts(sink);
        // The facts' positions point into the prepared page: it outlives them.
        qv::PreparedPage prepared = qv::preparePage(input, true);
        qv::walkPreparedPage(checkedTrees, "p&1.html", depth, "p.html", prepared, &facts);
        for (const qv::PageLink& link : facts.links) {
            const qv::TextPosition at = facts.positions->fromParser(link.row, link.column);
            sink.report({"p.html", at.row, at.column, qv::Severity::Warning, ""});
        }
    }

    std::string normalised = input;
    qv::normalisePage(normalised);
    TiXmlDocument document;
    if (!qv::parseXml(document, normalised, TIXML_ENCODING_UTF8, qv::kPageLimits).found()) {
        qv::fuzz::checkNestingScan(document, normalised);
    }
    return 0;
}
