#include "xml/html_document.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "xml/html_nesting_scan.h"
#include "xml/print.h"
#include "xml/text_positions.h"

namespace qv {
namespace {

constexpr std::size_t kAny = static_cast<std::size_t>(-1);
constexpr XmlLimits kNoLimits{kAny, kAny, kAny};

std::size_t elementDepth(const TiXmlNode& node) {
    std::size_t deepest = 0;
    for (const TiXmlNode* child = node.FirstChild(); child; child = child->NextSibling()) {
        deepest = std::max(deepest, elementDepth(*child));
    }
    return deepest + (node.ToElement() != nullptr ? 1 : 0);
}

// The document as markup, to compare shapes in one string.
std::string printed(const TiXmlDocument& document) {
    std::string out;
    printDocument(document, [&out](std::string_view piece) { out.append(piece); });
    return out;
}

TEST(ScanHtmlNesting, ExpectsAtLeastTheTreeTheParserBuildsAndLittleMore) {
    const std::string cases[] = {
        "<ul><li>a<li>b<li>c</ul><p>d<p>e<div>f</div>",  // closed where HTML closes them
        "<dl><dt>a<dd>b<dt>c</dl><h1>t<h2>u</h2>",
        "<table><tr><td>a<td>b<tr><td><table><td>c</table></table>",
        "<p><b>bold<p>again</b> <i>x</i>",         // formatting opened again
        "<b><p>x</b>y</p>",                        // moved below the block
        "<form><div></form><p>x</p><form><span>",  // a form leaves the stack only
        "<svg><g><path/><g></g></g><desc><b>x</b></desc></svg><math><mi><b>y",
        "<select><div><option>a<optgroup><option>b</select>c",
        "<script>var s = '<div><div><div>';</script><style><p></style><title><b></title>",
        "<template><div><div></div></div></template><foo><bar></foo><baz>",
        "<head><noscript><link></noscript></head><body><noscript><p>n</noscript>",
        "<a href=x><div><a href=y>z</a></div>",
    };
    for (const std::string& text : cases) {
        TiXmlDocument document;
        parseHtml(document, text, kNoLimits);
        const std::size_t built = elementDepth(document);
        const std::size_t expected = scanHtmlNesting(text, kNoLimits).deepest;
        EXPECT_GE(expected, built) << text;
        EXPECT_LE(expected, built + 2) << text;
    }
}

TEST(ScanHtmlNesting, RefusesWhatWouldMakeTheParserSlow) {
    struct Case {
        std::string text;
        XmlExcess::Kind kind;
        std::size_t offset;  // of the refused tag
    };
    std::string attributes = "<p";
    for (int i = 0; i < 300; ++i) attributes += " a" + std::to_string(i);
    std::string storm;  // each paragraph opens every earlier <b> again
    for (int i = 0; i < 2000; ++i) storm += "<b id=" + std::to_string(i) + "><p>x";
    std::string blocked;  // </span> cannot close across <div>
    for (int i = 0; i < 30000; ++i) blocked += "<span><div></span>";
    std::string nested;
    for (int i = 0; i < 100000; ++i) nested += "<div>";
    const Case cases[] = {
        {nested, XmlExcess::Kind::Work, 5 * 9005},  // as deep as XML mode allows
        {attributes + ">", XmlExcess::Kind::Attributes, 0},
        {storm, XmlExcess::Kind::Work, kAny},
        {blocked, XmlExcess::Kind::Work, kAny},
    };
    for (const Case& c : cases) {
        const XmlExcess excess = scanHtmlNesting(c.text, kPageLimits).excess;
        ASSERT_TRUE(excess.found()) << c.text.substr(0, 60);
        EXPECT_EQ(excess.kind, c.kind) << c.text.substr(0, 60);
        if (c.offset != kAny) {
            EXPECT_EQ(excess.offset, c.offset) << c.text.substr(0, 60);
        }
    }
    // A flat list of unclosed items, however long, is no nesting at all.
    std::string items = "<ul>";
    for (int i = 0; i < 200000; ++i) items += "<li>x";
    EXPECT_FALSE(scanHtmlNesting(items, kPageLimits).excess.found());
}

TEST(ParseHtml, BuildsWhatABrowserShows) {
    const std::string text =
        "<!DOCTYPE html><TITLE>T</TITLE><H1 ID=\"a\" IX='&eacute;&rarr;'>A&amp;B <b>c</b> "
        "<i>d</i></H1>"
        "<script>x<y</script><STYLE>p{}</STYLE><template><h2 id=t>t</h2></template><!-- c -->"
        "<ul><li>1<li>2<BR></ul>";
    TiXmlDocument document;
    EXPECT_FALSE(parseHtml(document, text, kPageLimits).found());
    EXPECT_EQ(printed(document),
              "<html>\n    <head>\n        <title>T</title>\n    </head>\n    <body>\n"
              "        <h1 id=\"a\" ix=\"\303\251\342\206\222\">A&amp;B \n"
              "            <b>c</b> \n            <i>d</i>\n        </h1>\n"
              "        <script />\n        <style />\n        <template />\n"
              "        <ul>\n            <li>1</li>\n            <li>2\n                <br />\n"
              "            </li>\n        </ul>\n    </body>\n</html>\n");
}

TEST(ParseHtml, PositionsAreTinyXmlsForTheSameCharacters) {
    // A tab moves TinyXML's column to the next multiple of 4; "é" is one column.
    const std::string text = "<p>\t\303\251<b x=1>t</b>\n  <i>u</i>";
    TiXmlDocument document;
    parseHtml(document, text, kPageLimits);
    const TiXmlElement* body = document.FirstChildElement("html")->FirstChildElement("body");
    const TiXmlElement* p = body->FirstChildElement("p");
    const TiXmlElement* b = p->FirstChildElement("b");
    const TiXmlElement* i = p->FirstChildElement("i");
    EXPECT_EQ(body->Row(), p->Row());  // implied: the parent's position, here <html>'s
    EXPECT_EQ(std::make_pair(p->Row(), p->Column()), std::make_pair(1, 1));
    EXPECT_EQ(std::make_pair(b->Row(), b->Column()), std::make_pair(1, 6));
    EXPECT_EQ(std::make_pair(b->FirstAttribute()->Row(), b->FirstAttribute()->Column()),
              std::make_pair(1, 9));
    EXPECT_EQ(std::make_pair(i->Row(), i->Column()), std::make_pair(2, 3));
    ParserPositions positions(text, TIXML_ENCODING_UTF8);
    EXPECT_EQ(positions.offset({b->Row(), b->Column()}), text.find("<b"));
    EXPECT_EQ(positions.offset({i->Row(), i->Column()}), text.find("<i"));
}

}  // namespace
}  // namespace qv
