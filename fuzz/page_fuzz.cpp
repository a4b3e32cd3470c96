// A page as the list walk hands it on: analysed into a fresh project at a
// depth taken from the input's first byte, read as XML or (bit 2 of that
// byte) as HTML, then both trees written into memory. A page that does not
// parse gets its diagnostic copy in the scratch directory. The nesting scan
// is checked against TinyXML's own parse of the same text, the HTML scan
// against gumbo's.
// The page is also analysed for a check: every finding and link must land
// inside the page as given.

#include <tinyxml.h>

#include <algorithm>
#include <cstdint>

#include "check/context_findings.h"
#include "check/page_findings.h"
#include "fuzz_support.h"
#include "memory_file_reader.h"
#include "page/analyse_page.h"
#include "page/normalise.h"
#include "run/page_messages.h"
#include "xml/parse.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qv::fuzz::setUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int depth = data[0] % 4;
    const qv::PageSyntax syntax = (data[0] & 4) != 0 ? qv::PageSyntax::Html : qv::PageSyntax::Xml;
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);

    qv::HelpProject project;
    qv::TreeBuilder trees(project);
    const std::string pageName = "p&1.html";
    qv::PageMessages report(pageName);
    if (qv::analysePage(trees, pageName, depth, "p.html", input, report, syntax) == 0) {
        qv::fuzz::writeTrees(project);
    }

    {
        qv::HelpProject checked;
        qv::TreeBuilder checkedTrees(checked);
        struct InsidePage : qv::FindingSink {
            int lines;
            explicit InsidePage(int count) : lines(count) {}
            void report(qv::Finding finding) override {
                if (finding.at.line < 0 || finding.at.line > lines || finding.at.column < 0) {
                    __builtin_trap();
                }
            }
        } sink(1 + static_cast<int>(std::count(input.begin(), input.end(), '\n')));
        qv::PreparedPage page = qv::preparePage("p.html", input, {}, true, syntax);
        // A page alone names no header: its context marks are checked
        // against none.
        static const qv::MemoryFileReader noFiles(std::map<std::string, std::string>{});
        qv::ContextFindings contexts(checked, noFiles, sink);
        qv::PageFindings notes(sink, page, depth > 0, contexts);
        qv::walkPreparedPage(page, checkedTrees, pageName, depth, notes);
        for (const qv::PageLink& link : notes.facts().links) {
            sink.report({"p.html", notes.fromParser(link.parsed), qv::Severity::Warning, {}});
        }
    }

    if (syntax == qv::PageSyntax::Html) {
        qv::fuzz::checkHtmlNestingScan(input);
        return 0;
    }
    std::string normalised = input;
    qv::normalisePage(normalised);
    TiXmlDocument document;
    if (qv::parseXml(document, normalised, TIXML_ENCODING_UTF8, qv::kPageLimits).kind !=
        qv::XmlFailure::Kind::Refused) {
        qv::fuzz::checkNestingScan(document, normalised);
    }
    return 0;
}
