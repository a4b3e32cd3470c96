#include "xml/source_map.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "page/normalise.h"
#include "xml/parse.h"

namespace qv {

namespace {

// A page with "@" where a finding is: normalised as a run normalises it, the
// "@" of the normalised text must map back to the "@" the author wrote.
TEST(SourceMap, NormalisedPositionsMapBackToTheLoadedPage) {
    const std::string pages[] = {
        "<p>caf&eacute; @</p>",
        "<br><hr class=\"x\">@<img src=a.png/>@",
        "Q & R, Q &amp; R, &copy @",        // stray, kept and bare ampersands
        "&eacute;&agrave;&nbsp;@ &euro;@",  // entities back to back
        "&a&eacute;@",                      // an entity the decoder passes over
        "\t<h1>\xC3\xA9t\xC3\xA9</h1>@",    // tabs and UTF-8 count one column
        "ligne 1<br>\nligne 2 &hellip;<br>\n&laquo;@&raquo;",
    };
    for (const std::string& page : pages) {
        std::string normalised = page;
        normalisePage(normalised);
        SourceMap map(page, normalised, TIXML_ENCODING_UTF8);
        LineIndex original(page);
        for (std::size_t at = normalised.find('@'), from = page.find('@'); at != std::string::npos;
             at = normalised.find('@', at + 1), from = page.find('@', from + 1)) {
            const TextPosition expected = original.position(from);
            const TextPosition got = map.fromOffset(at);
            EXPECT_EQ(got.line, expected.line) << page;
            EXPECT_EQ(got.column, expected.column) << page;
        }
    }
}

// Answers do not depend on the order of the questions, which resume walks
// along a long line from where earlier ones got.
TEST(SourceMap, AnyOrderOnALongLine) {
    std::string page;
    for (int i = 0; i < 500; ++i) page += "&eacute;t\xC3\xA9 &amp; Q & R<br>\t@";
    std::string normalised = page;
    normalisePage(normalised);
    std::vector<std::size_t> markers;
    for (std::size_t at = normalised.find('@'); at != std::string::npos;
         at = normalised.find('@', at + 1)) {
        markers.push_back(at);
    }
    SourceMap map(page, normalised, TIXML_ENCODING_UTF8);
    for (std::size_t k = markers.size(); k-- > 0;) {
        SourceMap fresh(page, normalised, TIXML_ENCODING_UTF8);
        const TextPosition expected = fresh.fromOffset(markers[k]);
        EXPECT_EQ(map.fromOffset(markers[k]).column, expected.column) << k;
        const int column = static_cast<int>(37 * k + 1);
        EXPECT_EQ(map.parserOffset({1, column}), fresh.parserOffset({1, column})) << k;
    }
    EXPECT_EQ(map.fromOffset(markers.back()).column,
              LineIndex(page).position(page.rfind('@')).column);
}

// TinyXML's rows and columns: tabs to the next multiple of 4, a byte order
// mark of no width, "\r" alone ending a row; positions of elements it parsed.
TEST(SourceMap, ParserPositions) {
    const std::string text = "\xEF\xBB\xBF<a>\n\t<b/>\r<c>\xC3\xA9<d/></c></a>";
    TiXmlDocument document;
    document.Parse(text.c_str(), nullptr, TIXML_ENCODING_UTF8);
    ASSERT_FALSE(document.Error());
    SourceMap map(text, TIXML_ENCODING_UTF8);
    const TiXmlElement* b = document.RootElement()->FirstChildElement("b");
    const TiXmlElement* d = document.RootElement()->FirstChildElement("c")->FirstChildElement("d");
    EXPECT_EQ(map.parserOffset(parsedAt(*b)), text.find("<b"));
    EXPECT_EQ(map.parserOffset(parsedAt(*d)), text.find("<d"));
    EXPECT_EQ(map.fromParser(parsedAt(*document.RootElement())).column,
              1);  // after the byte order mark
    const TextPosition editor = map.fromParser(parsedAt(*d));
    EXPECT_EQ(editor.line, 2);     // an editor ends lines at "\n" only
    EXPECT_EQ(editor.column, 11);  // after the ten characters of "\t<b/>\r<c>é"
}

}  // namespace
}  // namespace qv
